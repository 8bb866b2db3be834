#include "CCaptionButton.h"

#include <windowsx.h>

CCaptionButton* CCaptionButton::s_pCaptured = NULL;

CCaptionButton::CCaptionButton()
    : m_nCommand(0), m_bButtonDown(FALSE), m_nState(STATE_NORMAL), m_rect(), m_pOwner(NULL),
      m_nLastX(0), m_nLastY(0)
{}

CCaptionButton::~CCaptionButton()
{
    if (s_pCaptured == this) {
        if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd()) &&
            ::GetCapture() == m_pOwner->GetSafeHwnd())
            ::ReleaseCapture();
        m_nState = STATE_NORMAL;
        s_pCaptured = NULL;
    }
}

BOOL CCaptionButton::LoadStrip(LPCTSTR file, CBitmap frames[4])
{
    for (int i = 0; i < 4; ++i)
        frames[i].DeleteObject();
    HBITMAP strip =
        file ? (HBITMAP)::LoadImageA(NULL, file, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE) : NULL;
    if (!strip)
        return FALSE;
    BITMAP bm = {};
    ::GetObjectA(strip, sizeof(bm), &bm);
    const int w = bm.bmWidth / 4;
    HDC screen = ::GetDC(NULL);
    HDC src = ::CreateCompatibleDC(screen);
    HDC dst = ::CreateCompatibleDC(screen);
    HGDIOBJ oldSrc = ::SelectObject(src, strip);
    for (int i = 0; i < 4 && w > 0; ++i) {
        HBITMAP frame = ::CreateCompatibleBitmap(screen, w, bm.bmHeight);
        HGDIOBJ old = ::SelectObject(dst, frame);
        ::BitBlt(dst, 0, 0, w, bm.bmHeight, src, i * w, 0, SRCCOPY);
        ::SelectObject(dst, old);
        frames[i].Attach(frame);
    }
    ::SelectObject(src, oldSrc);
    ::DeleteDC(dst);
    ::DeleteDC(src);
    ::ReleaseDC(NULL, screen);
    ::DeleteObject(strip);
    return w > 0;
}

BOOL CCaptionButton::Create(const RECT& size, CWnd* owner, UINT command, LPCTSTR stripFile)
{
    ReleaseIfCaptured();
    m_bButtonDown = FALSE;
    m_nCommand = command;
    m_pOwner = owner;
    m_rect = size;
    m_nState = STATE_NORMAL;
    // Without its strip the button paints nothing but still answers clicks.
    LoadStrip(stripFile, m_frames);
    return TRUE;
}

CSize CCaptionButton::GetSize() const
{
    BITMAP bm = {};
    if (!m_frames[0].GetSafeHandle() || !m_frames[0].GetObject(sizeof(bm), &bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

void CCaptionButton::Paint(int x, int y, CDC* dc)
{
    if (!IsCreated() || !dc || !m_pOwner || !::IsWindow(m_pOwner->GetSafeHwnd()))
        return;
    m_nLastX = x;
    m_nLastY = y;
    CBitmap& frame = m_frames[m_nState];
    if (!frame.GetSafeHandle())
        return;
    // Client coordinates of the owner to coordinates of its whole window.
    HWND owner = m_pOwner->GetSafeHwnd();
    POINT origin = {0, 0};
    ::ClientToScreen(owner, &origin);
    RECT wr;
    ::GetWindowRect(owner, &wr);
    const int wx = x + origin.x - wr.left, wy = y + origin.y - wr.top;
    CSize size = GetSize();
    HDC mem = ::CreateCompatibleDC(dc->GetSafeHdc());
    HGDIOBJ old = ::SelectObject(mem, frame.GetSafeHandle());
    ::BitBlt(dc->GetSafeHdc(), wx, wy, size.cx, size.cy, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
}

void CCaptionButton::Redraw(int x, int y)
{
    if (!IsCreated() || !m_pOwner || !::IsWindow(m_pOwner->GetSafeHwnd()))
        return;
    HWND owner = m_pOwner->GetSafeHwnd();
    HDC hdc = ::GetWindowDC(owner);
    if (!hdc)
        return;
    CDC dc;
    dc.Attach(hdc);
    Paint(x, y, &dc);
    dc.Detach();
    ::ReleaseDC(owner, hdc);
}

void CCaptionButton::ReleaseIfCaptured()
{
    if (m_pOwner && ::IsWindow(m_pOwner->GetSafeHwnd()) &&
        ::GetCapture() == m_pOwner->GetSafeHwnd())
        ::ReleaseCapture();
    // Every release clears the shared pointer, so that no other caption
    // button is left ignoring the mouse.
    if (s_pCaptured == this)
        s_pCaptured = NULL;
}

void CCaptionButton::Enable(BOOL enable)
{
    if (enable) {
        m_nState = STATE_NORMAL;
        return;
    }
    m_nState = STATE_DISABLED;
    m_bButtonDown = FALSE;
    if (s_pCaptured == this)
        ReleaseIfCaptured();
}

void CCaptionButton::RelayEvent(const MSG* msg)
{
    if (!msg || !IsCreated() || !m_pOwner || !::IsWindow(m_pOwner->GetSafeHwnd()) ||
        m_nState == STATE_DISABLED || msg->hwnd != m_pOwner->GetSafeHwnd())
        return;
    HWND owner = m_pOwner->GetSafeHwnd();
    POINT pt = {GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
    switch (msg->message) {
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONUP:
        ::ScreenToClient(owner, &pt); // non-client positions are on the screen
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        break;
    case WM_CAPTURECHANGED:
    case WM_NCDESTROY:
    case WM_DESTROY:
        break;
    default:
        return;
    }
    if (s_pCaptured && s_pCaptured != this)
        return;
    const BOOL inside = ::PtInRect(&m_rect, pt);

    switch (msg->message) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        if (s_pCaptured == this)
            s_pCaptured = NULL;
        m_nState = STATE_NORMAL;
        m_bButtonDown = FALSE;
        break;
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
        if (inside) {
            m_bButtonDown = TRUE;
            ::SetCapture(owner);
            s_pCaptured = this;
            m_nState = STATE_PRESSED;
            RedrawLast();
        }
        break;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        if (m_bButtonDown) {
            if (inside && m_nState != STATE_PRESSED) {
                ::SetCapture(owner);
                s_pCaptured = this;
                m_nState = STATE_PRESSED;
                RedrawLast();
            } else if (!inside && m_nState != STATE_HOVER) {
                m_nState = STATE_HOVER;
                RedrawLast();
            }
        } else if (inside && m_nState != STATE_HOVER) {
            ::SetCapture(owner);
            s_pCaptured = this;
            m_nState = STATE_HOVER;
            RedrawLast();
        } else if (!inside && m_nState == STATE_HOVER) {
            ReleaseIfCaptured();
            m_nState = STATE_NORMAL;
            RedrawLast();
        }
        break;
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
        if (m_bButtonDown) {
            m_bButtonDown = FALSE;
            if (inside) {
                m_nState = STATE_HOVER;
                RedrawLast();
                ::PostMessageA(owner, WM_COMMAND, m_nCommand, 0);
            } else {
                ReleaseIfCaptured();
                m_nState = STATE_NORMAL;
                RedrawLast();
            }
        }
        break;
    case WM_CAPTURECHANGED:
        if (s_pCaptured == this && (HWND)msg->lParam != owner) {
            m_nState = STATE_NORMAL;
            m_bButtonDown = FALSE;
            s_pCaptured = NULL;
        }
        break;
    }
}

CCaptionMaxButton::CCaptionMaxButton()
    : m_bMinimized(FALSE), m_bMaximized(FALSE), m_nOtherCommand(0), m_bRestoreFace(FALSE)
{}

BOOL CCaptionMaxButton::Create(const RECT& size, CWnd* owner, UINT maximizeCommand,
                               UINT restoreCommand, LPCTSTR maximizeStrip, LPCTSTR restoreStrip)
{
    LoadStrip(restoreStrip, m_otherFrames);
    m_nOtherCommand = restoreCommand;
    m_bRestoreFace = FALSE;
    return CCaptionButton::Create(size, owner, maximizeCommand, maximizeStrip);
}

void CCaptionMaxButton::Toggle()
{
    for (int i = 0; i < 4; ++i) {
        HGDIOBJ a = m_frames[i].Detach();
        HGDIOBJ b = m_otherFrames[i].Detach();
        if (b)
            m_frames[i].Attach(b);
        if (a)
            m_otherFrames[i].Attach(a);
    }
    UINT command = m_nCommand;
    m_nCommand = m_nOtherCommand;
    m_nOtherCommand = command;
    m_bRestoreFace = !m_bRestoreFace;
}

BOOL CCaptionMaxButton::TrackSize(UINT type)
{
    BOOL changed = FALSE;
    switch (type) {
    case SIZE_MAXIMIZED:
        if (!m_bMaximized) {
            if (!m_bMinimized) // a minimised window shows restore already
            {
                Toggle();
                changed = TRUE;
            }
            m_bMaximized = TRUE;
            m_bMinimized = FALSE;
        }
        break;
    case SIZE_MINIMIZED:
        if (!m_bMinimized) {
            if (!m_bMaximized) {
                Toggle();
                changed = TRUE;
            }
            m_bMinimized = TRUE;
            m_bMaximized = FALSE;
        }
        break;
    case SIZE_RESTORED:
        if (m_bMaximized || m_bMinimized) {
            Toggle();
            changed = TRUE;
            m_bMaximized = FALSE;
            m_bMinimized = FALSE;
        }
        break;
    }
    return changed;
}
