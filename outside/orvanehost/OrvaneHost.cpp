// Stand-in for the outside programs that run the relay: loads Orvane.dll,
// starts the relay on a port and stops it cleanly on Ctrl+C, on a named
// event or after a number of seconds.
//
//   OrvaneHost <port> [--stop-event NAME] [--seconds N]
//
// Exit codes: 0 stopped cleanly, 1 bad arguments, 2 library or export
// missing, 3 the relay did not start, 4 the relay did not close.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

typedef void* (*StartServerFn)(unsigned);
typedef int (*CloseServerFn)(void**);

HANDLE g_quit = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD)
{
    SetEvent(g_quit);
    return TRUE;
}

bool ParseNumber(const char* text, unsigned long low, unsigned long high, unsigned long& out)
{
    if (!text || !*text)
        return false;
    char* end = nullptr;
    unsigned long value = strtoul(text, &end, 10);
    if (*end || text[0] == '-' || value < low || value > high)
        return false;
    out = value;
    return true;
}

int Usage()
{
    fprintf(stderr, "usage: OrvaneHost <port 1-65535> [--stop-event NAME] [--seconds N]\n");
    return 1;
}

FARPROC Bind(HMODULE module, const char* name)
{
    FARPROC proc = GetProcAddress(module, name);
    if (!proc)
        fprintf(stderr, "Orvane.dll has no %s\n", name);
    return proc;
}

} // namespace

int main(int argc, char** argv)
{
    unsigned long port = 0;
    unsigned long seconds = 0;
    const char* stopName = nullptr;
    if (argc < 2 || !ParseNumber(argv[1], 1, 65535, port))
        return Usage();
    for (int i = 2; i < argc; i += 2) {
        if (i + 1 >= argc)
            return Usage();
        if (strcmp(argv[i], "--stop-event") == 0)
            stopName = argv[i + 1];
        else if (strcmp(argv[i], "--seconds") == 0 && ParseNumber(argv[i + 1], 1, 86400, seconds))
            continue;
        else
            return Usage();
    }

    HMODULE module = LoadLibraryA("Orvane.dll");
    if (!module) {
        fprintf(stderr, "cannot load Orvane.dll (error %lu)\n", GetLastError());
        return 2;
    }
    StartServerFn start = reinterpret_cast<StartServerFn>(
        reinterpret_cast<void*>(Bind(module, "Zeltor_StartServer")));
    CloseServerFn close = reinterpret_cast<CloseServerFn>(
        reinterpret_cast<void*>(Bind(module, "Zeltor_CloseServer")));
    if (!start || !close) {
        FreeLibrary(module);
        return 2;
    }

    g_quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE stop = stopName ? CreateEventA(nullptr, TRUE, FALSE, stopName) : nullptr;
    if (stopName && !stop) {
        fprintf(stderr, "cannot create the event %s\n", stopName);
        FreeLibrary(module);
        return 1;
    }
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);

    void* server = start(static_cast<unsigned>(port));
    if (!server) {
        fprintf(stderr, "the relay did not start on port %lu\n", port);
        FreeLibrary(module);
        return 3;
    }
    printf("relay listening on port %lu\n", port);
    fflush(stdout);

    HANDLE waits[2] = {g_quit, stop};
    WaitForMultipleObjects(stop ? 2 : 1, waits, FALSE, seconds ? seconds * 1000 : INFINITE);

    int closed = close(&server);
    printf(closed ? "relay stopped\n" : "relay did not close\n");
    fflush(stdout);
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    FreeLibrary(module);
    if (stop)
        CloseHandle(stop);
    CloseHandle(g_quit);
    return closed ? 0 : 4;
}
