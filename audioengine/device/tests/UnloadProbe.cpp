// Runs capture and playback through RavoT.dll and unloads the library.
// Argument "release": SONVEX_Release first, and the library must be gone
// soon after FreeLibrary. No argument: unloaded while the devices run, the
// library must stay loaded and its devices keep running safely. Argument
// "rebuilt": SONVEX_Release first, then echo cancelling asked for on a
// system that rebuilds the manager for it (run as NT 5.1), which starts the
// remembered devices again: the library must stay loaded as in "running".
// Argument "late": unloaded while the devices run, then SONVEX_Release
// called through the pointer kept from before (the library stayed loaded
// for it): the call must return and the library go soon after.
// Exits 0 when all went as expected, 7 when "rebuilt" does not run as NT 5.1.
#include <cstdio>
#include <cstring>

#include "RavoTModule.h"

namespace {
volatile LONG g_packets = 0;
void Packet(void*, void*, uint8_t*, int) { InterlockedIncrement(&g_packets); }
} // namespace

int main(int argc, char** argv)
{
    bool release = argc > 1 && strcmp(argv[1], "release") == 0;
    bool rebuilt = argc > 1 && strcmp(argv[1], "rebuilt") == 0;
    bool late = argc > 1 && strcmp(argv[1], "late") == 0;
    RavoTModule t;
    if (!t.Load() || !t.Init(0))
        return 2;
    if (!t.StartPlay(-1) || !t.StartCapture(0, 3, nullptr, &Packet))
        return 3;
    Sleep(150);
    if (release)
        t.Release();
    if (rebuilt) {
        OSVERSIONINFOA info;
        memset(&info, 0, sizeof(info));
        info.dwOSVersionInfoSize = sizeof(info);
        if (!GetVersionExA(&info) || info.dwMajorVersion != 5 || info.dwMinorVersion != 1)
            return 7;
        t.Release();
        t.SetAEC(1);
    }
    int(__cdecl * lateRelease)() = t.Release;
    t.Unload();
    bool loaded = GetModuleHandleA("RavoT.dll") != nullptr;
    if (late) {
        if (!loaded)
            return 5;
        lateRelease();
        for (int i = 0; i < 200 && GetModuleHandleA("RavoT.dll"); ++i)
            Sleep(10);
        return GetModuleHandleA("RavoT.dll") ? 8 : 0;
    }
    if (release) {
        // The library's reference on itself goes from a thread of its own.
        for (int i = 0; i < 200 && GetModuleHandleA("RavoT.dll"); ++i)
            Sleep(10);
        return GetModuleHandleA("RavoT.dll") ? 4 : 0;
    }
    if (!loaded)
        return 5;
    LONG before = g_packets;
    Sleep(200);
    printf("packets %ld -> %ld\n", before, g_packets);
    return g_packets > before ? 0 : 6;
}
