#include <windows.h>

enum { HOOK_HOTKEY_ID = 256 };

extern "C" int AddHotkey(HWND window, int virtualKey, int modifiers)
{
    if (!IsWindow(window))
        return 0;
    UINT key = static_cast<UINT>(virtualKey) & 0xFF;
    if (key == 0)
        return 0;
    return RegisterHotKey(window, HOOK_HOTKEY_ID, static_cast<UINT>(modifiers), key) ? 1 : 0;
}

extern "C" int DeleteHotkey(HWND window, int virtualKey, int modifiers)
{
    if (!IsWindow(window))
        return 0;
    return UnregisterHotKey(window, HOOK_HOTKEY_ID) ? 1 : 0;
}
