#include "CProgramPanes.h"
#include "CProgramSharing.h"

#include "CAudioSourcesLink.h"
#include "CCameraPanelLink.h"
#include "CClientSettings.h"
#include "CCommandManager.h"
#include "CDlgChat.h"
#include "CDlgLeft.h"
#include "CDlgLocalVideo.h"
#include "CDlgPanTiltSettings.h"
#include "CDlgVoteList.h"
#include "CFramePaneHost.h"
#include "CFrameVideoHost.h"
#include "CMainFrame.h"
#include "CProgramDocs.h"
#include "CProgramSettings.h"
#include "CRecorderLink.h"
#include "CServerDispatcher.h"
#include "CUserTable.h"
#include "CVideoLibraryLink.h"
#include "CVideoWallPane.h"
#include "ClientLog.h"
#include "DispatchTargets.h"
#include "VideoControl_Dlg.h"

namespace {
// The chat pane's height before the user moves the splitter.
const int kChatHeight = CStandInPanes::CHAT_HEIGHT;
} // namespace

CProgramPanes::CProgramPanes(CMainFrame* frame, const PANE_CONTEXT& context)
    : m_frame(frame), m_ctx(context)
{
    m_paneHost.reset(new CFramePaneHost(frame, this));
    m_videoHost.reset(new CFrameVideoHost(frame, this));
    m_ctx.host = m_paneHost.get();
    m_videoLink.reset(new CVideoLibraryLink);
    m_audioLink.reset(new CAudioSourcesLink);
    m_settings.reset(new CProgramSettings(frame, this));
    // The video windows reach this main window from now on.
    SetVideoHost(m_videoHost.get());
    UpdateTargets();
    m_sharing.reset(new CProgramSharing(frame, this, m_ctx));
}

CProgramPanes::~CProgramPanes()
{
    if (GetVideoHost() == m_videoHost.get())
        SetVideoHost(nullptr);
}

CDlgLocalVideo* CProgramPanes::LocalVideo()
{
    return m_localVideo && m_localVideo->GetSafeHwnd() ? m_localVideo.get() : nullptr;
}

IPaneHost* CProgramPanes::PaneHost() { return m_paneHost.get(); }

bool CProgramPanes::OwnedByFrame(FRAME_PANE pane)
{
    // The settings dialogs belong to the settings object.
    return !CProgramSettings::MakesPane(pane) && CProgramSharing::OwnedByFrame(pane);
}

bool CProgramPanes::IsRecording() const { return m_frame->IsRecording(); }

CWnd* CProgramPanes::CreatePane(FRAME_PANE pane, CWnd* parent)
{
    if (CProgramSettings::MakesPane(pane)) {
        CWnd* dialog = m_settings->CreatePane(pane, parent);
        UpdateTargets();
        return dialog;
    }
    bool sharing = false;
    CWnd* shared = m_sharing->CreatePane(pane, parent, &sharing);
    if (sharing)
        return shared;
    switch (pane) {
    case PANE_CHAT: {
        std::unique_ptr<CDlgChat> chat(new CDlgChat(m_ctx));
        if (!chat->CreatePane(parent))
            return nullptr;
        CRect rect;
        chat->GetWindowRect(&rect);
        chat->SetWindowPos(nullptr, 0, 0, rect.Width(), kChatHeight, SWP_NOMOVE | SWP_NOZORDER);
        chat->ShowWindow(SW_SHOW);
        m_chat = chat.release();
        UpdateTargets();
        return m_chat;
    }
    case PANE_LEFT: {
        std::unique_ptr<CDlgLeft> left(new CDlgLeft(m_ctx));
        if (!left->CreatePane(parent))
            return nullptr;
        // The own video window sits in the pane, above its buttons.
        m_localVideo.reset(new CDlgLocalVideo);
        if (m_localVideo->Create(left.get()))
            left->SetLocalVideo(m_localVideo.get());
        else
            m_localVideo.reset();
        left->ShowWindow(SW_SHOW);
        m_left = left.release();
        UpdateTargets();
        return m_left;
    }
    case PANE_PAGE_VOTES: {
        std::unique_ptr<CDlgVoteList> votes(new CDlgVoteList(m_ctx));
        if (!votes->CreatePane(parent))
            return nullptr;
        m_votes = votes.release();
        UpdateTargets();
        return m_votes;
    }
    case PANE_CAMERA: {
        // Without parent and hidden; it makes its controller when created.
        std::unique_ptr<VideoControl_Dlg> camera(new VideoControl_Dlg);
        camera->SetCreateController(TRUE);
        if (!camera->Create(nullptr))
            return nullptr;
        camera->ShowWindow(SW_HIDE);
        m_camera = camera.release();
        m_cameraLink.reset(new CCameraPanelLink(m_camera));
        UpdateTargets();
        return m_camera;
    }
    case PANE_PAN_TILT: {
        std::unique_ptr<CDlgPanTiltSettings> settings(new CDlgPanTiltSettings);
        if (!settings->Create(parent))
            return nullptr;
        settings->ShowWindow(SW_HIDE);
        return settings.release();
    }
    case PANE_PAGE_NET_DISK: {
        // The shared documents: the page and its lists become the dispatcher's targets.
        CProgramSharing* sharing = m_sharing.get();
        m_docs.reset(
            new CProgramDocs(m_frame, m_ctx, [sharing] { return sharing->Presentation(); }));
        return m_docs->CreatePage(parent);
    }
    default:
        return CStandInPanes::CreatePane(pane, parent);
    }
}

IFrameVideoWall* CProgramPanes::CreateVideoWall(CWnd* parent)
{
    std::unique_ptr<CVideoWallPane> wall(new CVideoWallPane);
    if (!wall->Create(parent))
        return nullptr;
    m_wall = wall.release();
    UpdateTargets();
    return m_wall;
}

void CProgramPanes::UpdateTargets()
{
    DISPATCH_TARGETS targets = m_frame->Dispatcher().Targets();
    targets.chat = m_chat;
    targets.leftPane = m_left;
    targets.votes = m_votes;
    targets.videoWall = m_wall;
    targets.video = m_videoLink.get();
    targets.audio = m_audioLink.get();
    targets.device = m_settings->HasDialogs() ? &m_settings->Dialogs() : nullptr;
    targets.remoteDevice = targets.device ? &m_settings->Dialogs() : nullptr;
    targets.camera = m_cameraLink.get();
    m_frame->Dispatcher().SetTargets(targets);
}

void CProgramPanes::InitDevices()
{
    // The settings dialog opens the saved devices and reports them.
    if (!m_settings->InitDevices())
        g_Log.Write(0,
                    "<CProgramPanes::InitDevices> no settings dialog: the devices stay closed\n");
}

void CProgramPanes::StartOwnPreview()
{
    CDlgLocalVideo* local = LocalVideo();
    if (!local)
        return;
    if (!local->StartOwnVideo())
        g_Log.Write(0, "<CProgramPanes::StartOwnPreview> the own preview did not start\n");
    if (m_left && m_ctx.login)
        m_left->RefreshUser(m_ctx.login->userId);
}
