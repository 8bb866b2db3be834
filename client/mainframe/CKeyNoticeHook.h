#pragma once
#include <winsock2.h>
#include <windows.h>

// The source of the main window's key notices: a keyboard hook on the UI
// thread that posts each key going down or up to the window as 0x46B
// (wParam the virtual key, lParam the key flags, negative on release),
// whichever of the thread's windows has the focus.
class CKeyNoticeHook
{
public:
    CKeyNoticeHook() = default;
    ~CKeyNoticeHook() { Stop(); }

    bool Start(HWND target);
    void Stop();

private:
    static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);

    HHOOK m_hook = nullptr;
    HWND m_target = nullptr;
};
