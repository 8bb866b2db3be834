// Runs capture and playback through RavoT.dll and unloads the library.
// Argument "release": SONVEX_Release first, and the library must be gone
// after FreeLibrary. No argument: unloaded while the devices run, the
// library must stay loaded and its devices keep running safely.
// Exits 0 when all went as expected.
#include <cstdio>
#include <cstring>

#include "RavoTModule.h"

namespace {
volatile LONG g_packets = 0;
void Packet(void*, void*, uint8_t*, int)
{
    InterlockedIncrement(&g_packets);
}
}  // namespace

int main(int argc, char** argv)
{
    bool release = argc > 1 && strcmp(argv[1], "release") == 0;
    RavoTModule t;
    if (!t.Load() || !t.Init(0))
        return 2;
    if (!t.StartPlay(-1) || !t.StartCapture(0, 3, nullptr, &Packet))
        return 3;
    Sleep(150);
    if (release)
        t.Release();
    t.Unload();
    bool loaded = GetModuleHandleA("RavoT.dll") != nullptr;
    if (release)
        return loaded ? 4 : 0;
    if (!loaded)
        return 5;
    LONG before = g_packets;
    Sleep(200);
    printf("packets %ld -> %ld\n", before, g_packets);
    return g_packets > before ? 0 : 6;
}
