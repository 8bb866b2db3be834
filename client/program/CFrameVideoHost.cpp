#include "CFrameVideoHost.h"

#include "CDlgLeft.h"
#include "CMainFrame.h"
#include "CProgramPanes.h"
#include "CProgramSettings.h"
#include "CVideoWallPane.h"

bool CFrameVideoHost::IsRecording() { return m_panes->IsRecording(); }

bool CFrameVideoHost::GetFullScreenVideoUser(uint32_t* user)
{
    const WINDOW_LAYOUT& layout = m_frame->GetLayout();
    if (layout.fullScreenVideo != 1)
        return false;
    if (user)
        *user = layout.userId;
    return true;
}

void CFrameVideoHost::ShowUserFullScreen(uint32_t user, BOOL on)
{
    m_frame->ShowUserFullScreen(user, on != FALSE);
}

void CFrameVideoHost::LeaveFullScreen() { m_frame->LeaveFullScreen(); }

void CFrameVideoHost::SetBigVideoUser(uint32_t user) { m_frame->SetBigVideoUser(user); }

void CFrameVideoHost::SetFirstVideoUser(uint32_t user) { m_frame->SetFirstVideoUser(user); }

bool CFrameVideoHost::HasControlRight() { return m_frame->HasLayoutRight(); }

CWnd* CFrameVideoHost::GetBigVideoWindow()
{
    CWnd* big = &m_frame->BigVideo();
    return big->GetSafeHwnd() ? big : nullptr;
}

CDlgLocalVideo* CFrameVideoHost::GetLocalVideo() { return m_panes->LocalVideo(); }

VideoControl_Dlg* CFrameVideoHost::GetCameraPanel() { return m_panes->CameraPanel(); }

CDlgRight* CFrameVideoHost::GetVideoWall()
{
    CVideoWallPane* wall = m_panes->VideoWall();
    return wall ? &wall->Wall() : nullptr;
}

void CFrameVideoHost::ShowDeviceDialog() { m_panes->Settings().Dialogs().ShowSystemSettings(); }

void CFrameVideoHost::ShowRemoteDeviceDialog(uint32_t user)
{
    m_panes->Settings().Dialogs().ShowRemoteSettings(user);
}

void CFrameVideoHost::RefreshUser(uint32_t user)
{
    if (CDlgLeft* left = m_panes->LeftPane())
        left->RefreshUser(user);
}
