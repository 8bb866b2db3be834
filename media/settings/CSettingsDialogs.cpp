#include "CSettingsDialogs.h"

#include "CDlgLanguage.h"
#include "CDlgScreenCapture.h"
#include "CLanguageManager.h"
#include "CSettingsHost.h"
#include "ClientLog.h"

#include <exception>

CSettingsDialogs::CSettingsDialogs() {}

CSettingsDialogs::~CSettingsDialogs() { Destroy(); }

bool CSettingsDialogs::Create(CWnd* mainWindow)
{
    const bool ok = CreateSettings(mainWindow);
    return CreateRecordTimer() && ok;
}

bool CSettingsDialogs::CreateSettings(CWnd* mainWindow)
{
    bool ok = m_device.Create(mainWindow) != FALSE;
    ok = m_remote.Create(mainWindow) != FALSE && ok;
    m_remote.SetDeviceDialog(&m_device);
    return ok;
}

bool CSettingsDialogs::CreateRecordTimer() { return m_timer.Create(NULL) != FALSE; }

void CSettingsDialogs::Destroy()
{
    if (m_timer.m_hWnd)
        m_timer.DestroyWindow();
    if (m_remote.m_hWnd)
        m_remote.DestroyWindow();
    if (m_device.m_hWnd)
        m_device.DestroyWindow();
}

void CSettingsDialogs::InitDevices() { m_device.InitDevices(); }

void CSettingsDialogs::ToggleSystemSettings() { m_device.ToggleShow(); }

void CSettingsDialogs::ShowSystemSettings() { m_device.ShowPages(); }

void CSettingsDialogs::ShowRemoteSettings(uint32_t user) { m_remote.ShowForUser(user); }

void CSettingsDialogs::SelectVideoDevice(int index) { m_device.ApplyDeviceState(index); }

bool CSettingsDialogs::RunLanguageDialog(CWnd* parent)
{
    int before = g_LangManager.GetCurrentIndex();
    CDlgLanguage dialog(parent);
    dialog.DoModal();
    return g_LangManager.GetCurrentIndex() != before;
}

std::string CSettingsDialogs::CapturePath()
{
    return GetSettingsHost()->TempFolder() + "CapturePicture.bmp";
}

bool CSettingsDialogs::CaptureRegion(const std::string& path)
{
    CDlgScreenCapture dialog(path);
    dialog.DoModal();
    return dialog.Saved();
}

bool CSettingsDialogs::RunScreenCapture()
{
    std::string path = CapturePath();
    // Only a picture this run saved goes on; an old file stays where it is.
    if (!CaptureRegion(path))
        return false;
    GetSettingsHost()->OpenPictureInWhiteboard(path.c_str());
    return true;
}

void CSettingsDialogs::StartRecordTimer()
{
    m_timer.Start();
    if (m_timer.m_hWnd)
        m_timer.ShowWindow(SW_SHOW);
}

void CSettingsDialogs::HideRecordTimer()
{
    if (m_timer.m_hWnd)
        m_timer.ShowWindow(SW_HIDE);
}

// The dispatcher calls these from its drain; nothing may escape to it.
void CSettingsDialogs::ApplyDeviceState(uint8_t state)
{
    try {
        m_device.ApplyDeviceState(state);
    } catch (const std::exception& e) {
        g_Log.Write(0, "device state %u failed: %s\n", (unsigned)state, e.what());
    }
}

void CSettingsDialogs::OnSettingsQuery(uint32_t senderId, const void* payload, size_t length)
{
    try {
        m_remote.OnSettingsQuery(senderId, payload, length);
    } catch (const std::exception& e) {
        g_Log.Write(0, "settings query failed: %s\n", e.what());
    }
}

void CSettingsDialogs::OnRemoteSettings(uint32_t senderId, const void* payload, size_t length)
{
    try {
        m_remote.OnRemoteSettings(senderId, payload, length);
    } catch (const std::exception& e) {
        g_Log.Write(0, "settings report failed: %s\n", e.what());
    }
}

void CSettingsDialogs::ApplyReceivedSettings(uint32_t senderId, const void* payload, size_t length)
{
    try {
        m_remote.ApplyReceivedSettings(senderId, payload, length);
    } catch (const std::exception& e) {
        g_Log.Write(0, "received settings failed: %s\n", e.what());
    }
}
