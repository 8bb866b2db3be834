#include "COvrantWnd.h"

#include "afxdlgs.h"

#include <cstdio>

namespace {

const UINT WM_PLAY_ERROR = WM_USER + 100;
const UINT WM_PLAY_FINISHED = WM_USER + 101;

std::string Clock(uint32_t ms)
{
    char text[32];
    const unsigned s = ms / 1000;
    snprintf(text, sizeof text, "%02u:%02u:%02u", s / 3600, s / 60 % 60, s % 60);
    return text;
}

} // namespace

BEGIN_MESSAGE_MAP(COvrantWnd, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_HSCROLL()
    ON_WM_DESTROY()
    ON_BN_CLICKED(ID_OPEN, OnOpenClicked)
    ON_BN_CLICKED(ID_PAUSE, OnPauseClicked)
    ON_BN_CLICKED(ID_CLOSE, OnCloseClicked)
    ON_MESSAGE(WM_PLAY_ERROR, OnPlayError)
    ON_MESSAGE(WM_PLAY_FINISHED, OnPlayFinished)
END_MESSAGE_MAP()

COvrantWnd::COvrantWnd(COvrantLibrary& library) : m_library(library) {}

BOOL COvrantWnd::CreatePlayer()
{
    RECT rc = {0, 0, 960, 680};
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                     (HBRUSH)::GetStockObject(WHITE_BRUSH));
    return Create(cls, "Ovrant", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, rc);
}

int COvrantWnd::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    RECT empty = {0, 0, 0, 0};
    const DWORD button = WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON;
    if (!m_open.Create("打开", button, empty, this, ID_OPEN) ||
        !m_pause.Create("暂停", button | WS_DISABLED, empty, this, ID_PAUSE) ||
        !m_close.Create("关闭", button | WS_DISABLED, empty, this, ID_CLOSE) ||
        !m_slider.Create(WS_CHILD | WS_VISIBLE | WS_DISABLED | TBS_HORZ | TBS_NOTICKS, empty, this,
                         ID_SLIDER) ||
        !m_time.Create("00:00:00 / 00:00:00", WS_CHILD | WS_VISIBLE | SS_CENTER, empty, this,
                       ID_TIME))
        return -1;
    return 0;
}

void COvrantWnd::LayOutBar(int cx, int cy)
{
    const int y = cy - BAR_HEIGHT + 8;
    m_open.MoveWindow(8, y, 60, 24);
    m_pause.MoveWindow(76, y, 60, 24);
    m_close.MoveWindow(144, y, 60, 24);
    const int sliderRight = cx - 160 > 220 ? cx - 160 : 220;
    m_slider.MoveWindow(212, y, sliderRight - 212, 24);
    m_time.MoveWindow(sliderRight + 4, y + 4, 150, 20);
    if (m_playing)
        m_library.SetWindowRect(0, 0, cx, cy - BAR_HEIGHT);
}

void COvrantWnd::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    if (m_open.m_hWnd)
        LayOutBar(cx, cy);
}

bool COvrantWnd::Open(const char* path)
{
    ClosePlayback();
    if (!m_library.IsLoaded() || !path || !m_library.StartPlay(this, path)) {
        AfxMessageBox("无法播放这个录像文件", MB_OK | MB_ICONINFORMATION);
        return false;
    }
    m_path = path;
    m_playing = true;
    m_paused = m_finished = m_error = m_dragging = false;
    m_total = m_library.GetTotalTime();
    m_slider.SendMessage(TBM_SETRANGEMIN, FALSE, 0);
    m_slider.SendMessage(TBM_SETRANGEMAX, TRUE, static_cast<LPARAM>(m_total));
    m_slider.SendMessage(TBM_SETPAGESIZE, 0, 10000);
    m_slider.SendMessage(TBM_SETPOS, TRUE, 0);
    m_slider.EnableWindow(TRUE);
    m_pause.EnableWindow(TRUE);
    m_close.EnableWindow(TRUE);
    m_pause.SetWindowText("暂停");
    CString name = m_library.GetMeetingName();
    CString date = m_library.GetMeetingDate();
    SetWindowText(CString("Ovrant - ") + date + " " + name);
    RECT rc;
    GetClientRect(&rc);
    LayOutBar(rc.right, rc.bottom);
    SetTimer(TIMER_POSITION, 200, nullptr);
    UpdatePosition();
    return true;
}

void COvrantWnd::ClosePlayback()
{
    if (!m_playing)
        return;
    KillTimer(TIMER_POSITION);
    m_library.StopPlay();
    m_playing = m_paused = m_dragging = false;
    m_total = 0;
    m_slider.SendMessage(TBM_SETPOS, TRUE, 0);
    m_slider.EnableWindow(FALSE);
    m_pause.EnableWindow(FALSE);
    m_close.EnableWindow(FALSE);
    m_time.SetWindowText("00:00:00 / 00:00:00");
    SetWindowText("Ovrant");
    Invalidate();
}

void COvrantWnd::TogglePause()
{
    if (!m_playing || m_finished || m_error)
        return;
    if (m_paused) {
        m_library.Resume();
        m_pause.SetWindowText("暂停");
    } else {
        m_library.Pause();
        m_pause.SetWindowText("继续");
    }
    m_paused = !m_paused;
}

void COvrantWnd::SeekTo(uint32_t ms)
{
    if (!m_playing || m_error)
        return;
    if (m_finished) {
        // The recording ran to its end: it plays again from the slider.
        const std::string path = m_path;
        if (!Open(path.c_str()))
            return;
    }
    if (m_library.SetCurTime(ms))
        UpdatePosition();
}

std::string COvrantWnd::TimeText() const
{
    char text[64] = "";
    ::GetWindowTextA(m_time.m_hWnd, text, sizeof text);
    return text;
}

void COvrantWnd::UpdatePosition()
{
    if (!m_playing)
        return;
    uint32_t now = m_finished ? m_total : m_library.GetCurTime();
    if (now > m_total)
        now = m_total;
    if (!m_dragging)
        m_slider.SendMessage(TBM_SETPOS, TRUE, static_cast<LPARAM>(now));
    m_time.SetWindowText((Clock(now) + " / " + Clock(m_total)).c_str());
}

void COvrantWnd::OnTimer(UINT id)
{
    if (id == TIMER_POSITION)
        UpdatePosition();
}

void COvrantWnd::OnHScroll(UINT code, UINT, CScrollBar* bar)
{
    if (!bar || bar->m_hWnd != m_slider.m_hWnd)
        return;
    if (code == TB_THUMBTRACK) {
        m_dragging = true;
        return;
    }
    if (code == TB_ENDTRACK) {
        m_dragging = false;
        SeekTo(static_cast<uint32_t>(m_slider.SendMessage(TBM_GETPOS)));
    }
}

void COvrantWnd::OnOpenClicked()
{
    CFileDialog dialog(TRUE, "Pellrund", NULL, OFN_FILEMUSTEXIST | OFN_HIDEREADONLY,
                       "Record Files (*.Pellrund)|*.Pellrund||", this);
    if (dialog.DoModal() == IDOK)
        Open(dialog.GetPathName());
}

void COvrantWnd::OnPauseClicked() { TogglePause(); }

void COvrantWnd::OnCloseClicked() { ClosePlayback(); }

LRESULT COvrantWnd::OnPlayError(WPARAM, LPARAM)
{
    if (!m_playing)
        return 0;
    m_error = true;
    KillTimer(TIMER_POSITION);
    m_pause.EnableWindow(FALSE);
    m_time.SetWindowText("播放出错");
    AfxMessageBox("录像文件已损坏,无法继续播放", MB_OK | MB_ICONINFORMATION);
    return 0;
}

LRESULT COvrantWnd::OnPlayFinished(WPARAM, LPARAM)
{
    if (!m_playing)
        return 0;
    m_finished = true;
    KillTimer(TIMER_POSITION);
    m_pause.EnableWindow(FALSE);
    UpdatePosition();
    return 0;
}

void COvrantWnd::OnDestroy()
{
    ClosePlayback();
    CFrameWnd::OnDestroy();
}
