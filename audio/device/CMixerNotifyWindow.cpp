#include "CMixerNotifyWindow.h"

namespace SonvexDevice {

HINSTANCE CMixerNotifyWindow::OwnModule()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&CMixerNotifyWindow::OwnModule), &module);
    return module;
}

HWND CMixerNotifyWindow::CreateFor(const char* className, const char* windowName, WNDPROC proc,
                                   void* owner)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = OwnModule();
    wc.lpszClassName = className;
    RegisterClassA(&wc); // fails harmlessly when registered already
    HWND window = CreateWindowExA(0, className, windowName, WS_POPUP | WS_DISABLED, 0, 0, 0, 0,
                                  nullptr, nullptr, wc.hInstance, nullptr);
    if (window)
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    return window;
}

void CMixerNotifyWindow::Destroy(HWND window, const char* className)
{
    if (!window)
        return;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
    UnregisterClassA(className, OwnModule());
}

} // namespace SonvexDevice
