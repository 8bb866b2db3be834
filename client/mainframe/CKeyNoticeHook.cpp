#include "CKeyNoticeHook.h"

#include "MainFrameMessages.h"

namespace {
// One main window per thread: the hook in use on this thread.
thread_local CKeyNoticeHook* t_active = nullptr;
thread_local HWND t_target = nullptr;
thread_local HHOOK t_hook = nullptr;
} // namespace

bool CKeyNoticeHook::Start(HWND target)
{
    Stop();
    m_hook = ::SetWindowsHookExA(WH_KEYBOARD, &CKeyNoticeHook::HookProc, nullptr,
                                 ::GetCurrentThreadId());
    if (!m_hook)
        return false;
    m_target = target;
    t_active = this;
    t_target = target;
    t_hook = m_hook;
    return true;
}

void CKeyNoticeHook::Stop()
{
    if (!m_hook)
        return;
    ::UnhookWindowsHookEx(m_hook);
    if (t_active == this) {
        t_active = nullptr;
        t_target = nullptr;
        t_hook = nullptr;
    }
    m_hook = nullptr;
    m_target = nullptr;
}

LRESULT CALLBACK CKeyNoticeHook::HookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && t_target && ::IsWindow(t_target))
        ::PostMessageA(t_target, WM_KEY_NOTICE, wParam, lParam);
    return ::CallNextHookEx(t_hook, code, wParam, lParam);
}
