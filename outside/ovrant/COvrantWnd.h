#pragma once
#include "afxwin.h"
#include "afxcmn.h"

#include <cstdint>
#include <string>

#include "COvrantLibrary.h"

// The player program's window: the recording plays in the upper part; a
// row of controls below opens a recording, pauses and resumes it, seeks
// with the slider and closes it.
class COvrantWnd : public CFrameWnd
{
public:
    enum {
        ID_OPEN = 2001,
        ID_PAUSE = 2002,
        ID_CLOSE = 2003,
        ID_SLIDER = 2004,
        ID_TIME = 2005,
        BAR_HEIGHT = 40,
        TIMER_POSITION = 1,
    };

    explicit COvrantWnd(COvrantLibrary& library);

    BOOL CreatePlayer();
    // Plays a recording; false (after telling the user) when it cannot.
    bool Open(const char* path);
    void ClosePlayback();
    void TogglePause();
    void SeekTo(uint32_t ms);

    bool IsPlaying() const { return m_playing; }
    bool IsPaused() const { return m_paused; }
    bool IsFinished() const { return m_finished; }
    bool HadError() const { return m_error; }
    uint32_t GetTotal() const { return m_total; }
    CSliderCtrl& Slider() { return m_slider; }
    CButton& PauseButton() { return m_pause; }
    CButton& CloseButton() { return m_close; }
    CButton& OpenButton() { return m_open; }
    std::string TimeText() const;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnTimer(UINT id);
    afx_msg void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    afx_msg void OnDestroy();
    afx_msg void OnOpenClicked();
    afx_msg void OnPauseClicked();
    afx_msg void OnCloseClicked();
    afx_msg LRESULT OnPlayError(WPARAM, LPARAM);
    afx_msg LRESULT OnPlayFinished(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void UpdatePosition();
    void LayOutBar(int cx, int cy);

    COvrantLibrary& m_library;
    CButton m_open;
    CButton m_pause;
    CButton m_close;
    CSliderCtrl m_slider;
    CStatic m_time;
    bool m_playing = false;
    bool m_paused = false;
    bool m_finished = false;
    bool m_error = false;
    bool m_dragging = false;
    uint32_t m_total = 0;
    std::string m_path;
};
