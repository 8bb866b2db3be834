#pragma once
#include "afxcmn.h"

#include <cstdint>
#include <memory>

#include "CLangDialog.h"
#include "CSkinBitmap.h"
#include "CSkinButton.h"
#include "CSkinProgressCtrl.h"
#include "CSkinSlider.h"
#include "CIconListBox.h"
#include "CUserListBox.h"
#include "CUserListPanel.h"
#include "CUserTabCtrl.h"
#include "ILeftPane.h"
#include "PaneContext.h"

class MasterOutputVolume;
class CMixerVolume;
class InputAltVolume;

// The meeting's control column: the users tab with the participants list
// and the window-mode pictures, the speech, control, recording and
// broadcast buttons, the speaker and microphone sliders with their level
// meters, the mute box and the echo and gain switches. Requests go to the
// server; the buttons change only when the server's answer arrives.
class CDlgLeft : public CLangDialog, public ILeftPane
{
public:
    enum : UINT { IDD = 142, TIMER_LEVELS = 1000, LEVEL_INTERVAL = 100 };

    explicit CDlgLeft(const PANE_CONTEXT& context, CWnd* parent = NULL);
    ~CDlgLeft() override;

    BOOL CreatePane(CWnd* parent);

    // Calls of the dispatcher and the main window.
    void AddUser(uint32_t userId) override;
    void RemoveUser(uint32_t userId) override;
    // Redraws the row; for the own participant the speech and control
    // buttons follow its role too.
    void RefreshUser(uint32_t userId) override;
    void FillUserList();
    void ShowOwnSpeakState(uint8_t state) override;
    void ShowOwnControlState(uint8_t state) override;
    void ShowRecordState();
    void ShowBroadcastState() override;
    void SetRemoteControlState(uint32_t flag);
    void SetHeadCount(int count);
    // The own video window, a child of this pane, placed above the buttons.
    void SetLocalVideo(CWnd* video);
    enum { LOCAL_VIDEO_HEIGHT = 167 };

    // Button handlers.
    void OnSpeech();
    void OnMeetingControl();
    void OnRecord();
    void OnBroadcastOn();
    void OnBroadcastOff();
    void OnMicMute();
    void OnAec();
    void OnAgc();
    // One tick of the 100 ms level timer.
    void OnLevelTick();
    // Paints the capture level (percent) into the microphone slider on the
    // scale lower..upper of the microphone meter, in place of the meter.
    typedef void (*MicLevelPainter)(CSkinSlider& slider, int level, int lower, int upper);
    // For every left pane (null: the meter shows the level); set before panes are made.
    static void SetMicLevelPainter(MicLevelPainter painter);

    // A slider position in the mixer's own range; false when either range
    // is empty or unknown (a getter gave -1), and nothing is to be set.
    static bool SliderToMixer(int pos, int sliderMin, int sliderMax, int mixerMin, int mixerMax,
                              int* out);

    CUserListBox& GetUserList() { return m_userList; }
    CUserTabCtrl& GetUserTab() { return m_tab; }
    CSkinSlider& GetSpeakerSlider() { return m_speakerSlider; }
    CSkinSlider& GetMicSlider() { return m_micSlider; }
    CSkinProgressCtrl& GetMicMeter() { return m_micMeter; }
    uint32_t GetRemoteControlFlag() const { return m_remoteFlag; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnTimer(UINT nIDEvent);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg LRESULT OnLevelMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    bool GetOwn(USER_INFO* own);
    void ApplyRole();
    void ShowPair(UINT shown, UINT hidden);
    void SetupMixers();
    void OnSpeakerMenu();
    void Layout(int cx, int cy);
    static void SpeakerVolumeSink(DWORD value, DWORD user);
    static void SpeakerMuteSink(DWORD value, DWORD user);
    static void MicVolumeSink(DWORD value, DWORD user);

    PANE_CONTEXT m_ctx;
    CUserTabCtrl m_tab;
    CUserListBox m_userList;
    CIconListBox m_modes;
    CUserListPanel m_modePanel;
    CSkinButton m_buttons[16];
    CSkinSlider m_speakerSlider;
    CSkinSlider m_micSlider;
    CSkinProgressCtrl m_playMeter;
    CSkinProgressCtrl m_micMeter;
    CSkinBitmap m_border;
    std::unique_ptr<MasterOutputVolume> m_speaker;
    std::unique_ptr<CMixerVolume> m_mic;
    std::unique_ptr<InputAltVolume> m_source;
    CMenu m_speakerMenu;
    CWnd* m_localVideo = nullptr;
    uint32_t m_remoteFlag = 0;
    uint32_t m_remoteSecond = 0;
};
