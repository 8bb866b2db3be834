#include "CVideoHost.h"

#include "CCommandManager.h"
#include "ClientUtil.h"

namespace {
CVideoHost g_defaultHost;
CVideoHost* g_pHost = nullptr;
} // namespace

CVideoHost* GetVideoHost() { return g_pHost ? g_pHost : &g_defaultHost; }

void SetVideoHost(CVideoHost* host) { g_pHost = host; }

bool CVideoHost::IsRecording() { return false; }

bool CVideoHost::GetFullScreenVideoUser(uint32_t*) { return false; }

void CVideoHost::ShowUserFullScreen(uint32_t, BOOL) {}
void CVideoHost::LeaveFullScreen() {}
void CVideoHost::SetBigVideoUser(uint32_t) {}
void CVideoHost::SetFirstVideoUser(uint32_t) {}

bool CVideoHost::HasControlRight() { return ::HasControlRight(); }

CWnd* CVideoHost::GetBigVideoWindow() { return nullptr; }

CDlgRemoteVideo* CVideoHost::GetEnlargedVideo() { return m_pEnlarged; }

void CVideoHost::SetEnlargedVideo(CDlgRemoteVideo* window) { m_pEnlarged = window; }

CDlgLocalVideo* CVideoHost::GetLocalVideo() { return nullptr; }

VideoControl_Dlg* CVideoHost::GetCameraPanel() { return nullptr; }

CDlgRight* CVideoHost::GetVideoWall() { return nullptr; }

void CVideoHost::RefreshUser(uint32_t) {}
void CVideoHost::ShowDeviceDialog() {}
void CVideoHost::ShowRemoteDeviceDialog(uint32_t) {}

void CVideoHost::ShowMessage(const char* text) { ::ShowMessage(text); }

bool CVideoHost::SendStopVideoNotice(uint32_t user, uint16_t first, uint16_t second)
{
    return g_CmdManager.SendStopVideoNotice(user, first, second);
}

bool CVideoHost::SendVideoBroadcast(uint32_t user, uint8_t on)
{
    return g_CmdManager.SendVideoBroadcast(user, on);
}

bool CVideoHost::SendCommand2068(uint32_t user) { return g_CmdManager.SendCommand2068(user); }

bool CVideoHost::SendCameraControl(uint32_t target, const void* bytes, uint8_t length)
{
    return g_CmdManager.SendCameraControl(target, bytes, length);
}
