#include "CDlgWbFileReceiving.h"

#include "CPassLibrary.h"
#include "CWBTransferList.h"
#include "IWBTransferHost.h"

namespace {

const UINT kErrorStart = 61448; // "错误号01!"
const UINT kReceiving = 61545;  // "正在接收文件..."
const UINT kDownloadFailed = 61634;
const UINT kPollMs = 1000;

} // namespace

CDlgWbFileReceiving::CDlgWbFileReceiving(CWBTransferList* list, IWBTransferHost* host,
                                         uint32_t documentId)
    : CWBTransferDlg(IDD, "CDlgWbFileReceiving", list, host, documentId)
{}

BOOL CDlgWbFileReceiving::Start(const char* server, uint8_t openedHere, uint8_t uploadFlag,
                                const LPCSTR* paths, int count, const char* storedName)
{
    const PASS_FUNCTIONS& pass = m_host->Pass().Functions();
    DWORD handle = 0;
    std::string address = server && *server ? std::string(server) : m_host->ServerAddress();
    if (count <= 0 || !paths || !storedName || !pass.StartBoardDownload ||
        !pass.StartBoardDownload(address.c_str(), m_host->FileTransferPort(), m_host->RoomId(),
                                 openedHere, uploadFlag, paths, count, storedName, &handle) ||
        handle == 0) {
        m_host->ShowMessage(Text(kErrorStart));
        return FALSE;
    }
    m_pageFiles = count;
    Started(handle, kReceiving, kPollMs);
    return TRUE;
}

void CDlgWbFileReceiving::ReportPages(int end)
{
    // Every page that became complete since the last tick is shown, not
    // only the first of them.
    for (; m_received < end; ++m_received)
        m_host->OnPageArrived(m_documentId, m_received);
}

int CDlgWbFileReceiving::Poll(int* progress)
{
    int pages = 0, total = 0;
    int result = m_host->Pass().Functions().PollBoardDownload(m_handle, &pages, &total, progress);
    if (pages < 0)
        pages = 0;
    if (pages > m_pageFiles)
        pages = m_pageFiles;
    // The last page is the list's to report, once the download finished; a
    // failure keeps the pages that arrived shown.
    if (result == PASS_RUNNING)
        ReportPages(pages < m_pageFiles ? pages : m_pageFiles - 1);
    else
        ReportPages(result == PASS_FINISHED ? m_pageFiles - 1 : pages);
    return result;
}

void CDlgWbFileReceiving::StopTransfer() { m_host->Pass().Functions().StopBoardDownload(m_handle); }

void CDlgWbFileReceiving::ReportDone(BOOL ok) { m_list->OnDownloadDone(this, ok); }

UINT CDlgWbFileReceiving::FailureTextId() const { return kDownloadFailed; }
