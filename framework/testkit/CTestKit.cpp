#include "CTestKit.h"

#include <cstdio>
#include <cstdlib>

namespace {
// Under Wine without a window manager, hiding a managed top-level window
// waits two seconds for a state change no one sends. Test programs ask the
// (throw-away) prefix for unmanaged windows; the setting holds for the
// programs started after this one.
struct UnmanagedWindowsUnderWine
{
    UnmanagedWindowsUnderWine()
    {
        HMODULE ntdll = GetModuleHandleA("ntdll.dll");
        if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
            return;
        HKEY key;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, NULL, 0,
                            KEY_READ | KEY_WRITE, NULL, &key, NULL) != ERROR_SUCCESS)
            return;
        char value[8] = "";
        DWORD size = sizeof(value), type = 0;
        if (RegQueryValueExA(key, "Managed", NULL, &type, (LPBYTE)value, &size) != ERROR_SUCCESS ||
            lstrcmpiA(value, "N") != 0)
            RegSetValueExA(key, "Managed", 0, REG_SZ, (const BYTE*)"N", 2);
        RegCloseKey(key);
    }
} g_unmanaged;

bool g_quitSeen = false;
thread_local CTestKit::MessageBoxes* g_boxes = NULL;

bool PumpOne()
{
    MSG msg;
    if (!::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        return false;
    if (msg.message == WM_QUIT) {
        g_quitSeen = true;
        return true;
    }
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return true;
}

struct ModalRun
{
    CDialog* dlg;
    const std::function<void(CDialog&)>* action;
    DWORD start;
    DWORD timeout;
    bool acted;
    bool timedOut;
};
thread_local ModalRun* g_modal = NULL;

void CALLBACK ModalTimer(HWND, UINT, UINT_PTR, DWORD)
{
    ModalRun* run = g_modal;
    if (!run)
        return;
    HWND h = run->dlg->m_hWnd;
    DWORD elapsed = GetTickCount() - run->start;
    if (!run->acted && h && ::IsWindow(h) && (::IsWindowVisible(h) || elapsed > 300)) {
        run->acted = true;
        (*run->action)(*run->dlg);
        return;
    }
    if (elapsed > run->timeout && !run->timedOut) {
        run->timedOut = true;
        CTestKit::CloseThreadDialogs();
        if (run->dlg->m_hWnd)
            run->dlg->EndDialog(IDABORT);
    }
}

BOOL CALLBACK CollectThreadWindow(HWND h, LPARAM lp)
{
    ((std::vector<HWND>*)lp)->push_back(h);
    return TRUE;
}

std::vector<HWND> ThreadTopWindows()
{
    std::vector<HWND> all;
    ::EnumThreadWindows(GetCurrentThreadId(), CollectThreadWindow, (LPARAM)&all);
    return all;
}

bool Matches(HWND h, LPCSTR cls, LPCSTR title)
{
    char buf[256];
    if (cls) {
        if (!::GetClassNameA(h, buf, sizeof(buf)) || lstrcmpiA(buf, cls) != 0)
            return false;
    }
    if (title) {
        ::GetWindowTextA(h, buf, sizeof(buf));
        if (lstrcmpA(buf, title) != 0)
            return false;
    }
    return true;
}

HWND FindIn(HWND parent, LPCSTR cls, LPCSTR title)
{
    for (HWND h = ::GetWindow(parent, GW_CHILD); h; h = ::GetWindow(h, GW_HWNDNEXT)) {
        if (Matches(h, cls, title))
            return h;
        if (HWND found = FindIn(h, cls, title))
            return found;
    }
    return NULL;
}
} // namespace

bool CTestKit::QuitSeen() { return g_quitSeen; }
void CTestKit::ResetQuit() { g_quitSeen = false; }

void CTestKit::PumpPending()
{
    for (int i = 0; i < 10000 && PumpOne(); ++i) {}
}

bool CTestKit::PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        PumpPending();
        if (pred())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return pred();
        DWORD wait = timeoutMs - elapsed;
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, wait < 10 ? wait : 10, QS_ALLINPUT);
    }
}

void CTestKit::PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}

INT_PTR CTestKit::RunModal(CDialog& dlg, const std::function<void(CDialog&)>& action,
                           DWORD timeoutMs)
{
    ModalRun run = {&dlg, &action, GetTickCount(), timeoutMs, false, false};
    ModalRun* outer = g_modal;
    g_modal = &run;
    UINT_PTR timer = ::SetTimer(NULL, 0, 10, ModalTimer);
    INT_PTR r = dlg.DoModal();
    ::KillTimer(NULL, timer);
    g_modal = outer;
    // drop a stray timer message of ours
    MSG msg;
    while (::PeekMessageA(&msg, NULL, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        if (msg.hwnd != NULL)
            ::DispatchMessageA(&msg);
    }
    return r;
}

int CTestKit::CloseThreadDialogs()
{
    int closed = 0;
    for (int round = 0; round < 16; ++round) {
        HWND victim = NULL;
        for (HWND h : ThreadTopWindows()) {
            if (::IsWindowVisible(h) && Matches(h, "#32770", NULL)) {
                // innermost: the last enabled one
                if (::IsWindowEnabled(h))
                    victim = h;
            }
        }
        if (!victim)
            break;
        ::SendMessageA(victim, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (::IsWindow(victim) && ::IsWindowVisible(victim))
            ::SendMessageA(victim, WM_CLOSE, 0, 0);
        if (::IsWindow(victim) && ::IsWindowVisible(victim))
            ::ShowWindow(victim, SW_HIDE);
        ++closed;
    }
    return closed;
}

HWND CTestKit::FindThreadWindow(LPCSTR lpszClass, LPCSTR lpszTitle)
{
    for (HWND h : ThreadTopWindows()) {
        if (Matches(h, lpszClass, lpszTitle))
            return h;
        if (HWND found = FindIn(h, lpszClass, lpszTitle))
            return found;
    }
    return NULL;
}

COLORREF CTestKit::Snapshot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return CLR_INVALID;
    return pixels[(size_t)y * width + x];
}

int CTestKit::Snapshot::Count(COLORREF c) const
{
    int n = 0;
    for (COLORREF p : pixels)
        n += p == c;
    return n;
}

// Prints hWnd (client area, background, and the frame with PRF_NONCLIENT)
// and then its shown children into hdc, the window's client origin at
// -origin from the DC's origin.
static void PrintInto(HWND hWnd, HDC hdc, POINT origin, UINT extraFlags)
{
    POINT old;
    ::SetViewportOrgEx(hdc, -origin.x, -origin.y, &old);
    if (extraFlags & PRF_NONCLIENT) {
        // the frame is drawn from the window's corner
        RECT rw;
        POINT client = {0, 0};
        ::GetWindowRect(hWnd, &rw);
        ::ClientToScreen(hWnd, &client);
        ::SetViewportOrgEx(hdc, -origin.x + (rw.left - client.x), -origin.y + (rw.top - client.y),
                           NULL);
        ::SendMessageA(hWnd, WM_PRINT, (WPARAM)hdc, PRF_NONCLIENT);
        ::SetViewportOrgEx(hdc, -origin.x, -origin.y, NULL);
    }
    ::SendMessageA(hWnd, WM_PRINT, (WPARAM)hdc, PRF_CLIENT | PRF_ERASEBKGND);
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    // bottom of the z-order first, so the topmost child ends on top
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        HWND c = *it;
        if (!(::GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE))
            continue;
        POINT at = {0, 0};
        ::MapWindowPoints(c, hWnd, &at, 1);
        POINT childOrigin = {origin.x - at.x, origin.y - at.y};
        RECT rw;
        ::GetWindowRect(c, &rw);
        POINT client = {0, 0};
        ::ClientToScreen(c, &client);
        // clip to the child's window rectangle, in the DC's coordinates
        int saved = ::SaveDC(hdc);
        ::SetViewportOrgEx(hdc, 0, 0, NULL);
        int left = at.x - origin.x + (rw.left - client.x);
        int top = at.y - origin.y + (rw.top - client.y);
        ::IntersectClipRect(hdc, left, top, left + (rw.right - rw.left),
                            top + (rw.bottom - rw.top));
        PrintInto(c, hdc, childOrigin, PRF_NONCLIENT);
        ::RestoreDC(hdc, saved);
    }
    ::SetViewportOrgEx(hdc, old.x, old.y, NULL);
}

CTestKit::Snapshot CTestKit::Capture(HWND hWnd, bool clientOnly)
{
    Snapshot shot;
    RECT r;
    if (clientOnly)
        ::GetClientRect(hWnd, &r);
    else {
        ::GetWindowRect(hWnd, &r);
        ::OffsetRect(&r, -r.left, -r.top);
    }
    shot.width = r.right;
    shot.height = r.bottom;
    if (shot.width <= 0 || shot.height <= 0)
        return shot;
    ::RedrawWindow(hWnd, NULL, NULL,
                   RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpPending();

    HDC screen = ::GetDC(NULL);
    HDC mem = ::CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = shot.width;
    bi.bmiHeader.biHeight = -shot.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = NULL;
    HBITMAP dib = ::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    HGDIOBJ old = ::SelectObject(mem, dib);
    if (::IsWindowVisible(hWnd)) {
        // on screen: the pixels as shown
        HDC src = clientOnly ? ::GetDC(hWnd) : ::GetWindowDC(hWnd);
        ::BitBlt(mem, 0, 0, shot.width, shot.height, src, 0, 0, SRCCOPY);
        ::ReleaseDC(hWnd, src);
    } else {
        // hidden: the window and its children draw themselves into the bitmap
        POINT origin = {0, 0};
        if (!clientOnly) {
            RECT rw;
            ::GetWindowRect(hWnd, &rw);
            ::ClientToScreen(hWnd, &origin);
            origin.x = rw.left - origin.x;
            origin.y = rw.top - origin.y;
        }
        PrintInto(hWnd, mem, origin, clientOnly ? 0 : PRF_NONCLIENT);
    }
    ::GdiFlush();
    shot.pixels.resize((size_t)shot.width * shot.height);
    const DWORD* px = (const DWORD*)bits;
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        DWORD v = px[i];
        shot.pixels[i] = RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    ::SelectObject(mem, old);
    ::DeleteObject(dib);
    ::DeleteDC(mem);
    ::ReleaseDC(NULL, screen);
    return shot;
}

namespace {
// Held by the process that drives the cursor; released when it ends.
void TakeTheCursor()
{
    static HANDLE s_cursor = NULL;
    if (s_cursor)
        return;
    s_cursor = ::CreateMutexA(NULL, FALSE, "HalvernTestKitCursor");
    if (!s_cursor)
        return;
    DWORD waited = ::WaitForSingleObject(s_cursor, 120000);
    if (waited == WAIT_TIMEOUT)
        fprintf(stderr, "CTestKit: another test process kept the cursor for two minutes\n");
    ::atexit([] {
        if (s_cursor)
            ::ReleaseMutex(s_cursor);
    });
}
} // namespace

void CTestKit::MoveCursor(HWND hWnd, POINT pt)
{
    TakeTheCursor();
    ::ClientToScreen(hWnd, &pt);
    ::SetCursorPos(pt.x, pt.y);
}

void CTestKit::ParkCursor()
{
    const POINT corner = {::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1};
    MoveCursor(NULL, corner);
}

void CTestKit::PostMouse(HWND hWnd, UINT msg, POINT pt, WPARAM keys)
{
    MoveCursor(hWnd, pt);
    ::PostMessageA(hWnd, msg, keys, MAKELPARAM((short)pt.x, (short)pt.y));
}

LRESULT CTestKit::SendMouse(HWND hWnd, UINT msg, POINT pt, WPARAM keys)
{
    MoveCursor(hWnd, pt);
    return ::SendMessageA(hWnd, msg, keys, MAKELPARAM((short)pt.x, (short)pt.y));
}

void CTestKit::Click(HWND hWnd, POINT pt, bool right)
{
    PostMouse(hWnd, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, pt, right ? MK_RBUTTON : MK_LBUTTON);
    PostMouse(hWnd, right ? WM_RBUTTONUP : WM_LBUTTONUP, pt);
}

void CTestKit::DoubleClick(HWND hWnd, POINT pt)
{
    PostMouse(hWnd, WM_LBUTTONDOWN, pt, MK_LBUTTON);
    PostMouse(hWnd, WM_LBUTTONUP, pt);
    PostMouse(hWnd, WM_LBUTTONDBLCLK, pt, MK_LBUTTON);
    PostMouse(hWnd, WM_LBUTTONUP, pt);
}

void CTestKit::MouseMove(HWND hWnd, POINT pt, UINT keys)
{
    PostMouse(hWnd, WM_MOUSEMOVE, pt, keys);
}

void CTestKit::KeyPress(HWND hWnd, UINT vk)
{
    UINT scan = ::MapVirtualKeyA(vk, 0);
    ::PostMessageA(hWnd, WM_KEYDOWN, vk, 1 | (scan << 16));
    ::PostMessageA(hWnd, WM_KEYUP, vk, 1 | (scan << 16) | 0xC0000000);
}

void CTestKit::TypeText(HWND hWnd, LPCSTR text)
{
    for (; text && *text; ++text)
        ::PostMessageA(hWnd, WM_CHAR, (BYTE)*text, 1);
}

void CTestKit::ClickButton(HWND hButton)
{
    ::SendMessageA(::GetParent(hButton), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(hButton), BN_CLICKED), (LPARAM)hButton);
}

namespace {
thread_local int g_autoClosed = 0;
void CALLBACK AutoCloseTimer(HWND, UINT, UINT_PTR, DWORD)
{
    g_autoClosed += CTestKit::CloseThreadDialogs();
}
} // namespace

CTestKit::AutoCloseDialogs::AutoCloseDialogs(DWORD intervalMs)
{
    g_autoClosed = 0;
    m_timer = ::SetTimer(NULL, 0, intervalMs, AutoCloseTimer);
}

CTestKit::AutoCloseDialogs::~AutoCloseDialogs() { ::KillTimer(NULL, m_timer); }

int CTestKit::AutoCloseDialogs::Closed() const { return g_autoClosed; }

CTestKit::MessageBoxes::MessageBoxes(int answer) : m_answer(answer), m_prev(g_boxes)
{
    g_boxes = this;
    m_old = AfxSetMessageBoxHook(&MessageBoxes::Hook);
}

CTestKit::MessageBoxes::~MessageBoxes()
{
    AfxSetMessageBoxHook(m_old);
    g_boxes = m_prev;
}

int CTestKit::MessageBoxes::Hook(HWND, LPCSTR text, LPCSTR caption, UINT type)
{
    MessageBoxes* self = g_boxes;
    if (!self)
        return IDCANCEL;
    self->m_shown.push_back({text ? text : "", caption ? caption : "", type});
    return self->m_answer;
}
