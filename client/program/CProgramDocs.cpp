#include "CProgramDocs.h"

#include <cstring>
#include <memory>
#include <utility>

#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CDlgDocProperties.h"
#include "CDlgNetDisk.h"
#include "CDocTransfer.h"
#include "CFileDialog.h"
#include "CMainFrame.h"
#include "CPassLibrary.h"
#include "CServerDispatcher.h"
#include "CUserTable.h"
#include "CWBClientTransferHost.h"
#include "CWBFrame.h"
#include "CWBTransferList.h"
#include "CWebShareFrame.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "DispatchTargets.h"
#include "MeetingState.h"
#include "WireReader.h"

namespace {
// The whiteboard document file downloaded from the meeting folder.
const uint32_t kDownloadDocumentId = 1000;
} // namespace

CProgramDocs::CProgramDocs(CMainFrame* frame, const PANE_CONTEXT& context,
                           std::function<CWebShareFrame*()> presentation)
    : m_frame(frame), m_ctx(context), m_presentation(std::move(presentation))
{
    m_downloadHost.reset(new CWBClientTransferHost(nullptr));
    m_downloads.reset(new CWBTransferList(m_downloadHost.get()));
    CDocTransfer::Instance().SetHost(this);
}

CProgramDocs::~CProgramDocs()
{
    CDocTransfer::Instance().Stop();
    CDocTransfer::Instance().SetHost(nullptr);
    m_downloads.reset();
}

CWnd* CProgramDocs::CreatePage(CWnd* parent)
{
    std::unique_ptr<CDlgNetDisk> page(new CDlgNetDisk(this, &CDocTransfer::Instance()));
    if (!page->CreatePage(parent))
        return nullptr;
    m_page = page.release();
    DISPATCH_TARGETS targets = m_frame->Dispatcher().Targets();
    targets.meetingDocs = &m_page->MeetingDocuments();
    targets.files = &m_page->Files();
    targets.diskDocs = &m_page->Documents();
    targets.netDisk = m_page;
    m_frame->Dispatcher().SetTargets(targets);
    return m_page;
}

bool CProgramDocs::HasControlRight()
{
    uint8_t state = 0;
    return m_ctx.users && m_ctx.login &&
           m_ctx.users->GetControlState(m_ctx.login->userId, &state) && state == 2;
}

bool CProgramDocs::RoomForbidsUpload()
{
    uint32_t forbidden = 0;
    WireReader in(m_frame->MeetingState(), MEETING_STATE_SIZE);
    in.Seek(offsetof(MEETING_STATE, noFileTransfer));
    in.U32(forbidden);
    return in.Ok() && forbidden != 0;
}

void CProgramDocs::SendDocumentDelete(uint32_t id, uint8_t docClass)
{
    if (m_ctx.commands)
        m_ctx.commands->SendDocumentDelete(id, docClass);
}

void CProgramDocs::RequestDocumentList()
{
    if (m_ctx.commands)
        m_ctx.commands->SendDocumentListRequest(0xFFFFFFFFu, 1);
}

bool CProgramDocs::AnnounceDocumentCategory(uint32_t folderId, const char* name, const char* second,
                                            const char* third)
{
    if (!m_ctx.commands ||
        !m_ctx.commands->SendDocumentCategory(2, folderId, 2, name, second, third)) {
        g_Log.Write(0, "<CProgramDocs::AnnounceDocumentCategory> %s was not announced\n", name);
        return false;
    }
    return true;
}

CPassLibrary& CProgramDocs::Pass() { return CPassLibrary::Client(); }

std::string CProgramDocs::ServerAddress()
{
    if (!m_ctx.login)
        return std::string();
    return std::string(m_ctx.login->serverAddress,
                       strnlen(m_ctx.login->serverAddress, sizeof m_ctx.login->serverAddress));
}

uint16_t CProgramDocs::FileTransferPort()
{
    return static_cast<uint16_t>(g_Settings.ftpServerPort);
}

uint32_t CProgramDocs::RoomId() { return m_ctx.login ? m_ctx.login->roomId : 0; }

std::string CProgramDocs::ProgramFolder() { return GetAppDirectory(); }

void CProgramDocs::ShowDataPage(int page)
{
    m_frame->TabStrip().SelectPage(page);
    if (m_frame->GetLayout().displayMode == 0)
        m_frame->ShowDataWindow();
}

void CProgramDocs::OpenOnBoard(const char* address)
{
    if (CWebShareFrame* board = m_presentation ? m_presentation() : nullptr)
        board->OpenDocument(address);
    else
        g_Log.Write(0, "<CProgramDocs::OpenOnBoard> no presentation board for %s\n", address);
}

void CProgramDocs::OpenInWhiteboard(const SHARED_DOC_RECORD& r)
{
    CWBFrame* board = Board();
    if (!board) {
        g_Log.Write(0, "<CProgramDocs::OpenInWhiteboard> no whiteboard for %s\n", r.name.c_str());
        return;
    }
    SIZE size = {static_cast<LONG>(r.valueA), static_cast<LONG>(r.valueB)};
    board->OpenStoredDocument(r.id, r.flag, r.value, size, r.name.c_str(), r.secondName.c_str(),
                              r.path.c_str());
}

bool CProgramDocs::StartDocumentDownload(const char* storedPath, const char* targetPath)
{
    const LPCSTR paths[1] = {targetPath};
    const std::string server = ServerAddress();
    return m_downloads->StartDownload(server.c_str(), kDownloadDocumentId, 0, 1, paths, 1,
                                      storedPath) != FALSE;
}

CWBFrame* CProgramDocs::Board()
{
    IFrameWhiteboard* page = m_frame->Whiteboard();
    return page ? page->DocumentFrame() : nullptr;
}

void CProgramDocs::UploadWhiteboardDocument(uint32_t folderId)
{
    if (CWBFrame* board = Board())
        board->OpenMeetingDocument(static_cast<int>(folderId));
}

void CProgramDocs::UploadWhiteboardFile()
{
    if (CWBFrame* board = Board())
        board->UploadLocalFile();
}

void CProgramDocs::ShowInfo(const char* text) { ::ShowMessage(text); }

void CProgramDocs::ShowPlainMessage(const char* text) { AfxMessageBox(text, MB_OK); }

bool CProgramDocs::ChooseSavePath(const char* title, const char* extension, std::string* path)
{
    CFileDialog dialog(FALSE, extension && *extension ? extension : NULL, title,
                       OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, NULL, m_frame);
    if (dialog.DoModal() != IDOK)
        return false;
    *path = (LPCSTR)dialog.GetPathName();
    return true;
}

bool CProgramDocs::ChooseDocument(std::string* path, std::string* fileName)
{
    CDlgDocProperties dialog(m_frame);
    if (dialog.DoModal() != IDOK)
        return false;
    *path = dialog.m_path;
    *fileName = dialog.m_name;
    return true;
}
