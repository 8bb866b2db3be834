#include "CWhiteboardDriver.h"

#include "MainFrameResource.h"
#include "PanesResource.h"
#include "WbFrameResource.h"

#include <vector>

namespace {
// The whiteboard frame's colour and width messages (as its bars send them).
const UINT kSetColour = 2025;
const UINT kSetWidth = 1632;

// The shapes drawn, in the page's client coordinates.
const POINT kLineFrom = {40, 60}, kLineTo = {320, 60};
const POINT kEllipseFrom = {80, 110}, kEllipseTo = {280, 230};

// Enough of each shape that a stray pixel does not count: the line is 280
// by 10 pixels, the ellipse about 200 by 120.
const int kLinePixels = 500;
const int kEllipsePixels = 4000;

bool IsRed(COLORREF c) { return GetRValue(c) > 200 && GetGValue(c) < 60 && GetBValue(c) < 60; }
bool IsBlue(COLORREF c) { return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) > 200; }

BOOL CALLBACK FindBoard(HWND wnd, LPARAM param)
{
    char text[32] = {};
    ::GetWindowTextA(wnd, text, sizeof text - 1);
    if (strcmp(text, "Whiteboard") == 0) {
        *reinterpret_cast<HWND*>(param) = wnd;
        return FALSE;
    }
    return TRUE;
}

struct ControlSearch
{
    int id;
    HWND found;
};

BOOL CALLBACK FindShownControl(HWND wnd, LPARAM param)
{
    ControlSearch* s = reinterpret_cast<ControlSearch*>(param);
    if (::GetDlgCtrlID(wnd) == s->id && ::IsWindowVisible(wnd)) {
        s->found = wnd;
        return FALSE;
    }
    return TRUE;
}

HWND ShownControl(HWND top, int id)
{
    ControlSearch s = {id, nullptr};
    ::EnumChildWindows(top, FindShownControl, (LPARAM)&s);
    return s.found;
}

bool Before(DWORD deadline) { return (int)(deadline - ::GetTickCount()) > 0; }
} // namespace

CWhiteboardDriver::CWhiteboardDriver(HWND frame, HANDLE turn) : m_frame(frame), m_turn(turn) {}

void CWhiteboardDriver::ShowPage() { ::PostMessageA(m_frame, WM_COMMAND, ID_PAGE_WHITEBOARD, 0); }

bool CWhiteboardDriver::Holds(const Drawing& drawing)
{
    return drawing.red >= kLinePixels && drawing.blue >= kEllipsePixels;
}

HWND CWhiteboardDriver::Board() const
{
    HWND board = nullptr;
    ::EnumChildWindows(m_frame, FindBoard, (LPARAM)&board);
    return board;
}

HWND CWhiteboardDriver::ShownPage() const
{
    HWND board = Board();
    HWND views = board ? ::GetDlgItem(board, IDC_WB_VIEWS) : nullptr;
    for (HWND child = views ? ::GetWindow(views, GW_CHILD) : nullptr; child;
         child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child))
            return child;
    return nullptr;
}

HWND CWhiteboardDriver::WaitForPage(DWORD deadline) const
{
    HWND page = nullptr;
    while (!(page = ShownPage()) && Before(deadline))
        ::Sleep(200);
    return page;
}

void CWhiteboardDriver::Raise(bool on)
{
    if (on && m_turn)
        ::WaitForSingleObject(m_turn, 30000);
    ::SetWindowPos(m_frame, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!on && m_turn)
        ::ReleaseMutex(m_turn);
}

bool CWhiteboardDriver::Draw(DWORD deadline, std::string* error)
{
    ShowPage();
    // The meeting control, from the left pane's button (its other face
    // shows while it is held); in the free room it is granted at once, with
    // the edit right.
    HWND take = nullptr, held = nullptr;
    while (!(take = ShownControl(m_frame, IDC_LEFT_CONTROL)) &&
           !(held = ShownControl(m_frame, IDC_LEFT_CONTROL_OFF)) && Before(deadline))
        ::Sleep(200);
    if (!take && !held) {
        *error = "the meeting control's button did not show";
        return false;
    }
    if (take)
        ::PostMessageA(::GetParent(take), WM_COMMAND, MAKEWPARAM(IDC_LEFT_CONTROL, BN_CLICKED), 0);
    HWND board = Board();
    HWND page = WaitForPage(deadline);
    if (!board || !page) {
        *error = board ? "the board opened no document after the meeting control was taken"
                       : "no whiteboard page";
        return false;
    }
    // Let the page settle on the screen before the mouse goes over it.
    ::Sleep(1000);
    Raise(true);
    ::PostMessageA(board, WM_COMMAND, ID_WB_LINE, 0);
    ::PostMessageA(board, kSetWidth, 10, 0);
    ::PostMessageA(board, kSetColour, RGB(255, 0, 0), 0);
    Drag(page, kLineFrom, kLineTo);
    ::PostMessageA(board, WM_COMMAND, ID_WB_ELLIPSEFILL, 0);
    ::PostMessageA(board, kSetWidth, 2, 0);
    ::PostMessageA(board, kSetColour, RGB(0, 0, 255), 0);
    Drag(page, kEllipseFrom, kEllipseTo);
    Raise(false);
    return true;
}

void CWhiteboardDriver::Drag(HWND page, POINT from, POINT to)
{
    // A press, moves and a release of the left button, the cursor moved
    // along with them.
    const int steps = 6;
    for (int i = 0; i <= steps + 1; ++i) {
        const int k = i > steps ? steps : i;
        POINT p = {from.x + (to.x - from.x) * k / steps, from.y + (to.y - from.y) * k / steps};
        POINT screen = p;
        ::ClientToScreen(page, &screen);
        ::SetCursorPos(screen.x, screen.y);
        const UINT msg = i == 0 ? WM_LBUTTONDOWN : i > steps ? WM_LBUTTONUP : WM_MOUSEMOVE;
        ::PostMessageA(page, msg, i > steps ? 0 : MK_LBUTTON, MAKELPARAM(p.x, p.y));
        ::Sleep(50);
    }
}

CWhiteboardDriver::Drawing CWhiteboardDriver::Read(HWND page)
{
    Drawing d;
    Raise(true);
    ::RedrawWindow(m_frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ::Sleep(300);
    RECT r;
    ::GetWindowRect(page, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w > 0 && h > 0) {
        HDC screen = ::GetDC(nullptr);
        HDC dc = ::CreateCompatibleDC(screen);
        HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
        HGDIOBJ old = ::SelectObject(dc, bitmap);
        ::BitBlt(dc, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
        ::SelectObject(dc, old);
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        std::vector<DWORD> pixels((size_t)w * h);
        if (::GetDIBits(dc, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS) == h) {
            for (DWORD p : pixels) {
                const COLORREF c = RGB((p >> 16) & 255, (p >> 8) & 255, p & 255);
                d.red += IsRed(c) ? 1 : 0;
                d.blue += IsBlue(c) ? 1 : 0;
            }
        }
        ::DeleteObject(bitmap);
        ::DeleteDC(dc);
        ::ReleaseDC(nullptr, screen);
    }
    Raise(false);
    return d;
}

bool CWhiteboardDriver::WaitForDrawing(DWORD deadline, Drawing* drawing)
{
    *drawing = Drawing();
    do {
        if (HWND page = ShownPage()) {
            *drawing = Read(page);
            if (Holds(*drawing))
                return true;
        }
        ::Sleep(500);
    } while (Before(deadline));
    return false;
}
