#pragma once
#include "CLangDialog.h"
#include "SettingsCalls.h"

// The video page of the system settings: capture device, image size,
// encoder, input and bit rate of the own video, and the image
// post-processing record that the image settings dialog edits.
class CDlgVideoConfig : public CLangDialog
{
public:
    CDlgVideoConfig(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);

    void InitVideo();
    void Refresh();
    void Apply();
    void RestoreValues();

    // 1 when the capture opened, else 0 (a chat notice tells the user).
    int OpenCapture();
    // 0 for an index beyond the device list or the current device; else
    // the capture reopens on it and 1.
    int SelectCaptureDevice(int index);

    BOOL HasVideo() const { return m_bHasVideo; }
    void SetHasVideo(BOOL on) { m_bHasVideo = on; }
    // Entries of the capture device list and the selected one (0 without the list).
    uint8_t GetDeviceCount();
    uint8_t GetSelectedDevice();
    IMG_PROC_SETTING& ImageSettings() { return m_imgProc; }
    int CaptureWidth() const { return m_nWidth; }
    int CaptureHeight() const { return m_nHeight; }

    void TranslateTexts(BOOL apply) override;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FillDataModes();
    void SelectStored(int id, DWORD* stored);
    void ValuesToControls();
    void ShowRateLabel();
    void OpenImageSettings();

    BOOL m_bHasVideo = FALSE;
    int m_nWidth = 320;
    int m_nHeight = 240;
    IMG_PROC_SETTING m_imgProc = {};
    // Page values bound to controls.
    int m_nSize = 2;
    int m_nPolling = 15;
    int m_nQuality = 70;
    int m_nImageMode = 0;
    BOOL m_bSwitches[5] = {TRUE, TRUE, TRUE, TRUE, TRUE};
    BOOL m_bPostProc = FALSE;
    BOOL m_bOverlay = TRUE;
    int m_nBitRate = 256;
};
