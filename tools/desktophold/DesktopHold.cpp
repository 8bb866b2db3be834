// DesktopHold: keeps the virtual display's desktop open while the test or
// main-job environment lives.
//
// Wine closes a desktop a few seconds after the last program on it ends, and
// the next program that opens a window starts the desktop again and waits up
// to ten seconds for it, once at its first window and once more as it ends. A
// program that starts while the old desktop is still closing can wait far
// longer. One program that stays on the desktop for the whole run keeps it
// open, so every test and client meets a desktop that is already there.
//
// It prints "ready" once its window exists (the desktop is then up) and then
// waits in its message loop until the environment's wineserver ends it.
#include <windows.h>

#include <cstdio>

int main()
{
    HWND hold = CreateWindowExA(0, "STATIC", "DesktopHold", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    if (!hold || !GetDesktopWindow()) {
        std::printf("no desktop: error %lu\n", GetLastError());
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
