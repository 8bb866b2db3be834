#pragma once
#include <windows.h>

// The hot-key library: AddHotkey(window, virtual key, modifiers) registers a
// system-wide key that arrives at the window as WM_HOTKEY with the id 256;
// only the low 8 bits of the key count. Non-zero on success. DeleteHotkey
// with the same values removes it.
enum { HOOK_HOTKEY_ID = 256 };

extern "C" {
__declspec(dllimport) int AddHotkey(HWND window, int virtualKey, int modifiers);
__declspec(dllimport) int DeleteHotkey(HWND window, int virtualKey, int modifiers);
}
