#pragma once
#include <cstdint>

#include "CPtrList.h"
#include "afxwin.h"

class CDlgWBFileSending;
class CDlgWbFileReceiving;
class CWBTransferDlg;
class IWBTransferHost;

// The whiteboard's running document transfers: the upload and download
// dialogs, each polling its own transfer. The list holds each dialog until
// it reports its end or is cancelled; the dialogs free themselves.
class CWBTransferList
{
public:
    explicit CWBTransferList(IWBTransferHost* host);
    ~CWBTransferList(); // stops everything still running

    CWBTransferList(const CWBTransferList&) = delete;
    CWBTransferList& operator=(const CWBTransferList&) = delete;

    // Uploads the page files of a document. On success the upload flag and
    // the stored name under which peers fetch the pages are given back.
    // folder: -1 for a live whiteboard document; noAnnouncement 0 announces
    // the document as a shared-document item once it is stored.
    BOOL StartUpload(uint32_t documentId, uint32_t folder, uint8_t noAnnouncement, const char* name,
                     uint32_t pageWidth, uint32_t pageHeight, const LPCSTR* paths, int count,
                     uint8_t* uploadFlag, CString* storedName);
    // Downloads a document's page files: the i-th page into the i-th path.
    // server: null or empty for the own server.
    BOOL StartDownload(const char* server, uint32_t documentId, uint8_t openedHere,
                       uint8_t uploadFlag, const LPCSTR* paths, int count, const char* storedName);
    // Stops and forgets the transfer of that document; none, nothing.
    void CancelUpload(uint32_t documentId);
    void CancelDownload(uint32_t documentId);
    // Stops and forgets every transfer.
    void StopAll();

    // Called by a dialog at its end, before it destroys itself.
    void OnUploadDone(CDlgWBFileSending* dialog, BOOL ok);
    void OnDownloadDone(CDlgWbFileReceiving* dialog, BOOL ok);

    int GetUploadCount() const { return static_cast<int>(m_uploads.GetCount()); }
    int GetDownloadCount() const { return static_cast<int>(m_downloads.GetCount()); }

private:
    static bool Forget(CPtrList& list, void* dialog);
    static void Cancel(CPtrList& list, uint32_t documentId);

    IWBTransferHost* m_host;
    CPtrList m_uploads;
    CPtrList m_downloads;
};
