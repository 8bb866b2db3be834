#include "CProgramSharing.h"

#include "CClientSettings.h"
#include "CDlgScreenConfig.h"
#include "CFileClientHost.h"
#include "CFileTransfers.h"
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "CProgramRCHost.h"
#include "CRCManager.h"
#include "CServerDispatcher.h"
#include "CUserTable.h"
#include "CSharingCommandTargets.h"
#include "CWebFrame.h"
#include "CWebRelayLink.h"
#include "CWebShareFrame.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "DispatchTargets.h"

#include <cstring>

namespace {
// The object of a window made here, while its window lives (the web pages
// delete themselves with their windows).
template <class T>
T* Live(T* wnd, HWND hwnd)
{
    return hwnd && ::IsWindow(hwnd) && CWnd::FromHandlePermanent(hwnd) == wnd ? wnd : nullptr;
}
} // namespace

CProgramSharing::CProgramSharing(CMainFrame* frame, CProgramPanes* panes,
                                 const PANE_CONTEXT& context)
    : m_frame(frame), m_ctx(context)
{
    m_relay.reset(new CWebRelayLink(context.commands));
    m_rcHost.reset(new CProgramRCHost(frame, panes, context.commands));
    m_fileHost.reset(new CFileClientHost);
    m_files.reset(new CFileTransfers(m_fileHost.get()));
    UpdateTargets();
}

CProgramSharing::~CProgramSharing()
{
    if (m_commandTargets)
        m_commandTargets->SetSharing(nullptr);
    // The dispatcher no longer reaches what goes with this object.
    if (m_frame) {
        DISPATCH_TARGETS targets = m_frame->Dispatcher().Targets();
        if (targets.fileReceiver == m_files.get())
            targets.fileReceiver = nullptr;
        m_frame->Dispatcher().SetTargets(targets);
    }
}

void CProgramSharing::BindCommandTargets(CSharingCommandTargets* targets)
{
    if (m_commandTargets)
        m_commandTargets->SetSharing(nullptr);
    m_commandTargets = targets;
    if (targets)
        targets->SetSharing(this);
}

bool CProgramSharing::OwnedByFrame(FRAME_PANE pane)
{
    return pane != PANE_PAGE_PRESENTATION && pane != PANE_PAGE_BROWSING;
}

CWebShareFrame* CProgramSharing::Presentation() { return Live(m_presentation, m_presentationWnd); }

CWebFrame* CProgramSharing::Browsing() { return Live(m_browsing, m_browsingWnd); }

CRCManager* CProgramSharing::Screen()
{
    return m_screen && ::IsWindow(m_screen->GetSafeHwnd()) ? m_screen : nullptr;
}

CWnd* CProgramSharing::CreatePane(FRAME_PANE pane, CWnd* parent, bool* handled)
{
    *handled = true;
    switch (pane) {
    case PANE_PAGE_PRESENTATION: {
        CWebShareFrame* board = CWebShareFrame::Make();
        // A frame window that fails after it was made deletes its object.
        if (!board->CreatePage(parent, m_relay.get()))
            return nullptr;
        m_presentation = board;
        m_presentationWnd = board->m_hWnd;
        UpdateTargets();
        return board;
    }
    case PANE_PAGE_BROWSING: {
        CWebFrame* browsing = new CWebFrame;
        if (!browsing->CreatePage(parent, m_relay.get()))
            return nullptr;
        m_browsing = browsing;
        m_browsingWnd = browsing->m_hWnd;
        UpdateTargets();
        return browsing;
    }
    case PANE_PAGE_SCREEN: {
        RC_SETUP setup;
        setup.users = m_ctx.users;
        setup.host = m_rcHost.get();
        setup.log = &g_Log;
        if (m_ctx.login) {
            setup.ownUserId = m_ctx.login->userId;
            setup.roomId = m_ctx.login->roomId;
            setup.serverAddress.assign(
                m_ctx.login->serverAddress,
                strnlen(m_ctx.login->serverAddress, sizeof m_ctx.login->serverAddress));
        }
        setup.applicationPort = static_cast<uint16_t>(g_Settings.applicationServerPort);
        setup.programFolder = GetAppDirectory();
        std::unique_ptr<CRCManager> screen(new CRCManager(setup));
        if (!screen->CreatePage(parent))
            return nullptr;
        m_screen = screen.release();
        UpdateTargets();
        return m_screen;
    }
    case PANE_SCREEN_CONFIG: {
        std::unique_ptr<CDlgScreenConfig> config(new CDlgScreenConfig(parent));
        if (!config->CreateHidden(parent))
            return nullptr;
        m_screenConfig = config.release();
        return m_screenConfig;
    }
    default:
        *handled = false;
        return nullptr;
    }
}

void CProgramSharing::UpdateTargets()
{
    DISPATCH_TARGETS targets = m_frame->Dispatcher().Targets();
    targets.presentation = m_presentation;
    targets.browsing = m_browsing;
    targets.screen = m_screen;
    targets.fileReceiver = m_files.get();
    m_frame->Dispatcher().SetTargets(targets);
}

bool CProgramSharing::IsBroadcastingScreen()
{
    CRCManager* screen = Screen();
    return screen && screen->IsBroadcasting();
}

void CProgramSharing::EndScreenBroadcast()
{
    if (CRCManager* screen = Screen())
        screen->EndBroadcast();
}

uint32_t CProgramSharing::GetRemoteControlledUser()
{
    CRCManager* screen = Screen();
    return screen && screen->IsControlling() ? screen->GetControlledPeer() : 0;
}

void CProgramSharing::EndRemoteControl()
{
    if (CRCManager* screen = Screen())
        screen->EndControlling();
}

uint32_t CProgramSharing::GetControllingUser()
{
    CRCManager* screen = Screen();
    return screen && screen->IsControlled() ? screen->GetAsker() : 0;
}

void CProgramSharing::EndControlled()
{
    if (CRCManager* screen = Screen())
        screen->EndControlled();
}

void CProgramSharing::DropSharingRights()
{
    if (CWebShareFrame* board = Presentation())
        board->SetControlRight(false);
    if (CWebFrame* browsing = Browsing())
        browsing->SetControlRight(false);
    // The whiteboard keeps its edit right where the own record grants it.
    USER_INFO own = {};
    const bool known =
        m_ctx.users && m_ctx.login && m_ctx.users->GetUser(m_ctx.login->userId, &own);
    if (IFrameWhiteboard* board = m_frame->Whiteboard())
        if (!(known && own.allowWhiteboard))
            board->SetEditRight(false);
}

void CProgramSharing::ShowScreenConfig()
{
    if (!m_screenConfig || !::IsWindow(m_screenConfig->GetSafeHwnd()))
        return;
    m_screenConfig->CenterWindow();
    m_screenConfig->ShowWindow(SW_SHOW);
}

void CProgramSharing::StartFileSend(uint32_t preselectedUser)
{
    m_files->StartFileSend(preselectedUser);
}

void CProgramSharing::OpenReceiveFolder() { m_files->OpenReceiveFolder(); }
