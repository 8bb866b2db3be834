#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>

// The screen-capture hot key: arming registers F9 with the hot-key library
// for a window (once: an earlier registration is removed first); its press
// captures the whole screen into a file and removes the key again, so each
// arming captures once.
class CCaptureHotkey
{
public:
    typedef int (*HOTKEY_FN)(HWND window, int virtualKey, int modifiers);
    enum { KEY = VK_F9, HOTKEY_ID = 256 };

    // The hot-key library's functions by default.
    CCaptureHotkey();
    CCaptureHotkey(HOTKEY_FN add, HOTKEY_FN remove);

    // Registers the key for window; tells the user how it goes on.
    void Arm(HWND window);
    // The key was pressed: the capture's path (empty when it failed), the
    // key removed.
    std::string OnHotkey(HWND window, const std::string& folder);
    bool IsArmed() const { return m_registration != 0; }
    // Removes a registered key (the window closes).
    void Disarm(HWND window);

private:
    HOTKEY_FN m_add;
    HOTKEY_FN m_remove;
    int m_registration = 0;
};
