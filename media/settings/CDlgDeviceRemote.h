#pragma once
#include "CBitmapTabCtrl.h"
#include "CDlgAudioConfigRemote.h"
#include "CDlgVideoConfigRemote.h"
#include "CStandardSkinButton.h"
#include "afxwin.h"

#include <cstdint>

class CDlgDevice;

// Another participant's device settings: asks his terminal for a report,
// shows it, and on OK sends him what the user set. The same dialog answers
// such questions from others and applies the settings they send.
class CDlgDeviceRemote : public CDialog
{
public:
    CDlgDeviceRemote(CWnd* parent = nullptr);
    ~CDlgDeviceRemote() override;

    BOOL Create(CWnd* parent);
    // The own settings dialog, for the device-state report and its refresh.
    void SetDeviceDialog(CDlgDevice* device) { m_device = device; }

    void ShowForUser(uint32_t user);
    // Sub-type 1: answered with the own settings report.
    void OnSettingsQuery(uint32_t sender, const void* data, size_t length);
    // Sub-type 2: the report of the participant shown.
    void OnRemoteSettings(uint32_t sender, const void* data, size_t length);
    // Sub-type 3: settings another participant sent for this terminal.
    void ApplyReceivedSettings(uint32_t sender, const void* data, size_t length);

    // The own settings and the names of the own devices, as a report carries them.
    static std::vector<uint8_t> BuildOwnReport();

    uint32_t ShownUser() const { return m_user; }
    bool Received() const { return m_bReceived; }
    CDlgVideoConfigRemote& VideoPage() { return m_video; }
    CDlgAudioConfigRemote& AudioPage() { return m_audio; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void EnablePages(bool on);
    bool KnownOther(uint32_t user);

    CBitmapTabCtrl m_tab;
    CDlgVideoConfigRemote m_video;
    CDlgAudioConfigRemote m_audio;
    CStandardSkinButton m_ok;
    CStandardSkinButton m_cancel;
    CString m_caption;
    uint32_t m_user = 0;
    bool m_bReceived = false;
    DEVICE_SETTINGS m_received = {};
    HBRUSH m_white = NULL;
    CDlgDevice* m_device = nullptr;
};
