#include "CSettingsHost.h"

#include "CCommandManager.h"
#include "CUserTable.h"
#include "CVideoHost.h"
#include "CDlgRight.h"
#include "ClientLog.h"
#include "ClientUtil.h"
#include "SettingsCalls.h"

namespace {
CSettingsHost g_defaultHost;
CSettingsHost* g_pHost = nullptr;
} // namespace

CSettingsHost* GetSettingsHost() { return g_pHost ? g_pHost : &g_defaultHost; }

void SetSettingsHost(CSettingsHost* host) { g_pHost = host; }

uint32_t CSettingsHost::OwnId() { return g_LoginInfo.userId; }

CUserTable& CSettingsHost::Users() { return g_UserTable; }

bool CSettingsHost::SendDeviceState(uint8_t hasAudio, uint8_t hasVideo, uint8_t count,
                                    uint8_t index)
{
    // The sender writes its second byte first.
    return g_CmdManager.SendDeviceInfo(hasVideo, hasAudio, count, index);
}

bool CSettingsHost::SendToUser(uint32_t user, const void* data, uint16_t length)
{
    return g_CmdManager.SendBroadcastData(&user, 1, data, length);
}

void CSettingsHost::AddChatNotice(const char* text) { g_Log.Write(0, "%s\n", text); }

void CSettingsHost::ShowMessage(const char* text)
{
    AfxMessageBox(text, MB_OK | MB_ICONINFORMATION);
}

void CSettingsHost::RemoveVideoWindow(uint32_t user)
{
    if (CDlgRight* wall = GetVideoHost()->GetVideoWall())
        wall->RemoveUser(user);
}

void CSettingsHost::RedrawUser(uint32_t user) { GetVideoHost()->RefreshUser(user); }

void CSettingsHost::ShowChatMessageButton(bool) {}

bool CSettingsHost::IsRecording() { return GetVideoHost()->IsRecording(); }

void CSettingsHost::RecordAddAudio(uint32_t user) { MEDIA_CALL_VOID(RV_AddAudio, user); }

void CSettingsHost::StopRecording() {}

std::string CSettingsHost::TempFolder() { return GetAppDirectory() + "Temp\\"; }

void CSettingsHost::OpenPictureInWhiteboard(const char*) {}
