#pragma once
#include "CDlgAudioConfig.h"
#include "CDlgPathConfig.h"
#include "CDlgVideoConfig.h"
#include "CLangDialog.h"
#include "CSkinTabCtrl.h"

#include <cstdint>

// The system settings dialog: video, audio and options pages on a tab
// strip. It starts the devices once, applies what the user changed and
// reports the terminal's device state to the server. Created hidden with
// the main window and only shown and hidden after that.
class CDlgDevice : public CLangDialog
{
public:
    CDlgDevice(CWnd* parent = nullptr);
    ~CDlgDevice() override;

    BOOL Create(CWnd* parent);

    // Starts audio and video and reports the device state; the speakers'
    // audio is received (and recorded while a recording runs).
    void InitDevices();
    // The menu command: shows the refreshed dialog when hidden, hides it when shown.
    void ToggleShow();
    // Shows the dialog as it is.
    void ShowPages();
    // Switches the own video capture device (index 0 to 19).
    void ApplyDeviceState(int index);
    void RefreshPages();
    // Command 2049 and the own participant record.
    void ReportDeviceState(uint8_t hasAudio, uint8_t hasVideo, uint8_t count, uint8_t index);

    CDlgAudioConfig& AudioPage() { return m_audio; }
    CDlgVideoConfig& VideoPage() { return m_video; }
    CDlgPathConfig& PathPage() { return m_path; }
    CSkinTabCtrl& Tabs() { return m_tab; }
    // For the menu's check mark.
    BOOL IsShown() const { return m_bShown; }

    void TranslateTexts(BOOL apply) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetTabText(int index, UINT textId);

    CDlgAudioConfig m_audio;
    CDlgVideoConfig m_video;
    CDlgPathConfig m_path;
    CSkinTabCtrl m_tab;
    HBRUSH m_white = NULL;
    BOOL m_bShown = FALSE;
};
