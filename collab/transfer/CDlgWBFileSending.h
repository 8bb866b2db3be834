#pragma once
#include <cstdint>

#include "CWBTransferDlg.h"

// The upload of a whiteboard document's page files into the file store,
// shown as a small progress dialog just behind the main window.
class CDlgWBFileSending : public CWBTransferDlg
{
public:
    enum { IDD = 529 };

    CDlgWBFileSending(CWBTransferList* list, IWBTransferHost* host, uint32_t documentId,
                      uint32_t folder, uint8_t noAnnouncement, const char* name, uint32_t pageWidth,
                      uint32_t pageHeight);

    // Starts the upload (the window exists); FALSE after telling the user.
    BOOL Start(const LPCSTR* paths, int count);

    uint32_t GetFolder() const { return m_folder; }
    uint8_t GetUploadFlag() const { return m_uploadFlag; }
    uint8_t GetNoAnnouncement() const { return m_noAnnouncement; }
    uint16_t GetPageCount() const { return m_pageCount; }
    const CString& GetStoredName() const { return m_storedName; }
    const CString& GetName() const { return m_name; }
    uint32_t GetPageWidth() const { return m_pageWidth; }
    uint32_t GetPageHeight() const { return m_pageHeight; }

protected:
    int Poll(int* progress) override;
    void StopTransfer() override;
    void ReportDone(BOOL ok) override;
    UINT FailureTextId() const override;

private:
    uint32_t m_folder;
    CString m_storedName;
    uint8_t m_uploadFlag = 0;
    uint8_t m_noAnnouncement;
    uint16_t m_pageCount = 0;
    CString m_name;
    uint32_t m_pageWidth;
    uint32_t m_pageHeight;
};
