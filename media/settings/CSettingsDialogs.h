#pragma once
#include "CDlgDevice.h"
#include "CDlgDeviceRemote.h"
#include "CDlgRecordTimer.h"
#include "IDeviceDialog.h"
#include "IRemoteDeviceDialog.h"

#include <cstdint>
#include <string>

// The settings and media dialogs as the main window uses them: it creates
// them hidden with itself, calls one entry point per menu command, and
// hands this object to the dispatcher for the device state (2106) and the
// data other participants send about settings (2110).
class CSettingsDialogs : public IDeviceDialog, public IRemoteDeviceDialog
{
public:
    CSettingsDialogs();
    ~CSettingsDialogs() override;

    // Creates the system settings, remote settings and recording timer
    // dialogs hidden; false when one could not be created.
    bool Create(CWnd* mainWindow);
    // The same in the main window's order: the two settings dialogs with the
    // window as parent first, the timer (without parent) among its last.
    bool CreateSettings(CWnd* mainWindow);
    bool CreateRecordTimer();
    void Destroy();

    // The main window's first timer: start the devices.
    void InitDevices();
    // "系统功能设置": shows the refreshed settings, or hides them.
    void ToggleSystemSettings();
    // The own video window's settings command: shows the settings as they are.
    void ShowSystemSettings();
    // Another participant's device settings.
    void ShowRemoteSettings(uint32_t user);
    // The chair's "视频一" to "视频二十" on his own line: index 0 to 19.
    void SelectVideoDevice(int index);
    // The language dialog (modal); true when the language changed.
    bool RunLanguageDialog(CWnd* parent);
    // The screen capture (modal): true when a picture was saved, and then it
    // has gone to the whiteboard.
    bool RunScreenCapture();
    // The screen capture (modal) into path: true when this run saved it.
    bool CaptureRegion(const std::string& path);
    // The recording timer: started and shown when a recording starts, hidden
    // when it ends.
    void StartRecordTimer();
    void HideRecordTimer();

    // The file screen captures are saved to.
    static std::string CapturePath();

    // IDeviceDialog
    void ApplyDeviceState(uint8_t state) override;
    // IRemoteDeviceDialog
    void OnSettingsQuery(uint32_t senderId, const void* payload, size_t length) override;
    void OnRemoteSettings(uint32_t senderId, const void* payload, size_t length) override;
    void ApplyReceivedSettings(uint32_t senderId, const void* payload, size_t length) override;

    CDlgDevice& Device() { return m_device; }
    CDlgDeviceRemote& Remote() { return m_remote; }
    CDlgRecordTimer& RecordTimer() { return m_timer; }

private:
    CDlgDevice m_device;
    CDlgDeviceRemote m_remote;
    CDlgRecordTimer m_timer;
};
