#include "CWBTransferList.h"

#include "CDlgWBFileSending.h"
#include "CDlgWbFileReceiving.h"
#include "IWBTransferHost.h"

CWBTransferList::CWBTransferList(IWBTransferHost* host)
    : m_host(host), m_uploads(10), m_downloads(10)
{}

CWBTransferList::~CWBTransferList() { StopAll(); }

BOOL CWBTransferList::StartUpload(uint32_t documentId, uint32_t folder, uint8_t noAnnouncement,
                                  const char* name, uint32_t pageWidth, uint32_t pageHeight,
                                  const LPCSTR* paths, int count, uint8_t* uploadFlag,
                                  CString* storedName)
{
    CDlgWBFileSending* dialog = new CDlgWBFileSending(this, m_host, documentId, folder,
                                                      noAnnouncement, name, pageWidth, pageHeight);
    if (!dialog->CreateHidden()) {
        delete dialog;
        return FALSE;
    }
    if (!dialog->Start(paths, count)) {
        dialog->Abort();
        return FALSE;
    }
    if (uploadFlag)
        *uploadFlag = dialog->GetUploadFlag();
    if (storedName)
        *storedName = dialog->GetStoredName();
    m_uploads.AddTail(dialog);
    return TRUE;
}

BOOL CWBTransferList::StartDownload(const char* server, uint32_t documentId, uint8_t openedHere,
                                    uint8_t uploadFlag, const LPCSTR* paths, int count,
                                    const char* storedName)
{
    CDlgWbFileReceiving* dialog = new CDlgWbFileReceiving(this, m_host, documentId);
    if (!dialog->CreateHidden()) {
        delete dialog;
        return FALSE;
    }
    if (!dialog->Start(server, openedHere, uploadFlag, paths, count, storedName)) {
        dialog->Abort();
        return FALSE;
    }
    m_downloads.AddTail(dialog);
    return TRUE;
}

bool CWBTransferList::Forget(CPtrList& list, void* dialog)
{
    POSITION pos = list.Find(dialog);
    if (!pos)
        return false;
    list.RemoveAt(pos);
    return true;
}

void CWBTransferList::Cancel(CPtrList& list, uint32_t documentId)
{
    for (POSITION pos = list.GetHeadPosition(); pos;) {
        POSITION at = pos;
        CWBTransferDlg* dialog = static_cast<CWBTransferDlg*>(list.GetNext(pos));
        if (dialog->GetDocumentId() == documentId) {
            list.RemoveAt(at);
            dialog->Abort();
            return;
        }
    }
}

void CWBTransferList::CancelUpload(uint32_t documentId) { Cancel(m_uploads, documentId); }

void CWBTransferList::CancelDownload(uint32_t documentId) { Cancel(m_downloads, documentId); }

void CWBTransferList::StopAll()
{
    // Each dialog is taken off its list before it goes, so nothing it does
    // on its way out finds it again.
    CPtrList* lists[] = {&m_uploads, &m_downloads};
    for (CPtrList* list : lists) {
        while (!list->IsEmpty()) {
            CWBTransferDlg* dialog = static_cast<CWBTransferDlg*>(list->RemoveHead());
            dialog->Abort();
        }
    }
}

void CWBTransferList::OnUploadDone(CDlgWBFileSending* dialog, BOOL ok)
{
    if (!Forget(m_uploads, dialog))
        return;
    if (ok && dialog->GetNoAnnouncement() == 0) {
        WB_UPLOADED_DOCUMENT document;
        document.folder = dialog->GetFolder();
        document.uploadFlag = dialog->GetUploadFlag();
        document.pageCount = dialog->GetPageCount();
        document.pageWidth = dialog->GetPageWidth();
        document.pageHeight = dialog->GetPageHeight();
        document.name = (LPCSTR)dialog->GetName();
        document.storedName = (LPCSTR)dialog->GetStoredName();
        m_host->AnnounceDocument(document);
    }
}

void CWBTransferList::OnDownloadDone(CDlgWbFileReceiving* dialog, BOOL ok)
{
    if (!Forget(m_downloads, dialog))
        return;
    if (ok)
        m_host->OnPageArrived(dialog->GetDocumentId(), dialog->GetPageFiles() - 1);
}
