#include "CDlgWBFileSending.h"

#include "CPassLibrary.h"
#include "CWBTransferList.h"
#include "IWBTransferHost.h"

namespace {

const UINT kErrorStart = 61448; // "错误号01!"
const UINT kUploading = 61546;  // "正在上传文件..."
const UINT kUploadFailed = 61633;
const UINT kPollMs = 200;

} // namespace

CDlgWBFileSending::CDlgWBFileSending(CWBTransferList* list, IWBTransferHost* host,
                                     uint32_t documentId, uint32_t folder, uint8_t noAnnouncement,
                                     const char* name, uint32_t pageWidth, uint32_t pageHeight)
    : CWBTransferDlg(IDD, "CDlgWBFileSending", list, host, documentId), m_folder(folder),
      m_noAnnouncement(noAnnouncement), m_name(name ? name : ""), m_pageWidth(pageWidth),
      m_pageHeight(pageHeight)
{}

BOOL CDlgWBFileSending::Start(const LPCSTR* paths, int count)
{
    const PASS_FUNCTIONS& pass = m_host->Pass().Functions();
    DWORD handle = 0;
    BYTE uploadFlag = 0;
    std::string server = m_host->ServerAddress();
    // A page count beyond 16 bits cannot be announced: nothing starts.
    if (count <= 0 || count > 0xFFFF || !paths || !pass.StartBoardUpload ||
        !pass.StartBoardUpload(server.c_str(), m_host->FileTransferPort(), m_host->RoomId(),
                               m_noAnnouncement, paths, count, &uploadFlag, &handle) ||
        handle == 0) {
        m_host->ShowMessage(Text(kErrorStart));
        return FALSE;
    }
    m_uploadFlag = uploadFlag;
    pass.GetBoardUploadValue(handle, &m_storedName);
    m_pageCount = static_cast<uint16_t>(count);
    Started(handle, kUploading, kPollMs);
    ShowWindow(SW_SHOWNOACTIVATE);
    return TRUE;
}

int CDlgWBFileSending::Poll(int* progress)
{
    int stored = 0, total = 0;
    return m_host->Pass().Functions().PollBoardUpload(m_handle, &stored, &total, progress);
}

void CDlgWBFileSending::StopTransfer() { m_host->Pass().Functions().StopBoardUpload(m_handle); }

void CDlgWBFileSending::ReportDone(BOOL ok) { m_list->OnUploadDone(this, ok); }

UINT CDlgWBFileSending::FailureTextId() const { return kUploadFailed; }
