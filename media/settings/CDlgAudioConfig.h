#pragma once
#include "CLangDialog.h"

class IAudioPageBinding;

// The audio page of the system settings: devices, format and the
// processing switches of the audio manager. It starts the audio devices,
// shows the stored settings (Refresh) and hands the audio manager only what
// the user changed (Apply).
class CDlgAudioConfig : public CLangDialog
{
public:
    CDlgAudioConfig(CWnd* parent = nullptr);

    BOOL Create(CWnd* parent);

    // Starts capture and playback and sets every processing value.
    void InitAudio();
    void Refresh();
    void Apply();
    // Puts the stored page values back into their controls.
    void RestoreValues();

    // 1 when capture runs, else 0 (a message box tells the user).
    int RestartCapture();
    int RestartPlayback();

    BOOL HasAudio() const { return m_bHasAudio; }

    void TranslateTexts(BOOL apply) override;

    // Another library behind every audio page (null: the audio manager);
    // the caller keeps it alive.
    static void SetBinding(IAudioPageBinding* binding);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    void FillLevelLists();
    void FillDeviceList(int id, bool capture, DWORD* stored);
    void FillFormatList();
    void ValuesToControls();
    void ControlsToValues();
    void SelectFecMode(bool manual);

    BOOL m_bHasAudio = FALSE;
    // Page values bound to controls.
    BOOL m_bASC = TRUE;
    BOOL m_bPlayLocal = FALSE;
    BOOL m_bAEC = TRUE;
    BOOL m_bAutoVolume = FALSE;
    int m_nDenoise = 1;
    int m_nAGC = 1;
    int m_nFecLevel = 1;
    BOOL m_bManualFec = FALSE;
    int m_nDelay = 0;
    // Shown and kept, read by nothing else.
    int m_nQuality = 1;
    BOOL m_bStatistics = TRUE;
    BOOL m_bHifi = TRUE;
    BOOL m_bTcp = FALSE;
    BOOL m_bFilter = TRUE;
};
