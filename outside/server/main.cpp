// The stand-in conference server as a console program:
//   ConferenceServer.exe [settings.ini] [-port N] [-seconds N]
// Without a settings file it reads ConferenceServer.ini beside the program.
// It runs until an empty line or "quit" is entered, Ctrl+C, or the given
// number of seconds. Lines on its input trigger what no client command makes
// the server send:
//   leave <user id> <result code>   the participant must leave (2107)
//   grant <user id> <0|1>           screen control granted or taken back (2108)
//   freefiles <room id> <0|1>       sending files freely allowed or not (2070)
//   storefault <cut|stall> <put|get> <bytes>   the file store's next part of
//                                   that kind longer than bytes is cut or stalls there
//   storeresume                     a stalled file store connection is let go
#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "CScreenRelay.h"
#include "CFileStore.h"
#include "CStandInServer.h"
#include "PassStoreWire.h"

namespace {

HANDLE g_stop = nullptr;

BOOL WINAPI OnConsoleEvent(DWORD)
{
    SetEvent(g_stop);
    return TRUE;
}

CStandInServer* g_server = nullptr;

// One input line; false when the server is to stop.
bool RunLine(const char* line)
{
    char word[16] = {};
    unsigned long a = 0, b = 0;
    int fields = sscanf(line, "%15s %lu %lu", word, &a, &b);
    if (fields <= 0 || !strcmp(word, "quit"))
        return false;
    char kind[8] = {}, op[8] = {};
    unsigned long bytes = 0;
    CFileStore* store = g_server->FileStore();
    if (!strcmp(word, "storefault") && sscanf(line, "%*s %7s %7s %lu", kind, op, &bytes) == 3 &&
        store && (!strcmp(kind, "cut") || !strcmp(kind, "stall")) &&
        (!strcmp(op, "put") || !strcmp(op, "get"))) {
        STORE_FAULT fault;
        fault.kind = strcmp(kind, "cut") ? STORE_FAULT::STALL : STORE_FAULT::CUT;
        fault.op = strcmp(op, "put") ? STORE_OP_GET : STORE_OP_PUT;
        fault.afterBytes = static_cast<uint32_t>(bytes);
        store->ScriptFault(fault);
        printf("storefault: set\n");
        fflush(stdout);
        return true;
    }
    if (!strcmp(word, "storeresume") && store) {
        store->Resume();
        printf("storeresume: done\n");
        fflush(stdout);
        return true;
    }
    bool done = false;
    if (fields == 3 && !strcmp(word, "leave"))
        done = g_server->ForceLeave(static_cast<uint32_t>(a), static_cast<uint16_t>(b));
    else if (fields == 3 && !strcmp(word, "grant"))
        done = g_server->GrantScreenControl(static_cast<uint32_t>(a), static_cast<uint8_t>(b));
    else if (fields == 3 && !strcmp(word, "freefiles"))
        done = g_server->SetFreeFileSending(static_cast<uint32_t>(a), static_cast<uint8_t>(b));
    else
        printf("Commands: leave <user id> <code>, grant <user id> <0|1>, "
               "freefiles <room id> <0|1>, storefault <cut|stall> <put|get> <bytes>, "
               "storeresume, quit\n");
    if (fields == 3)
        printf("%s: %s\n", word, done ? "sent" : "no such participant or room");
    fflush(stdout);
    return true;
}

DWORD WINAPI ReadCommands(void*)
{
    // The end of the input (none given) leaves the server running.
    char line[256];
    while (fgets(line, sizeof line, stdin)) {
        if (!RunLine(line)) {
            SetEvent(g_stop);
            break;
        }
    }
    return 0;
}

std::string DefaultSettings()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    char* slash = strrchr(path, '\\');
    std::string folder = slash ? std::string(path, slash + 1) : std::string();
    return folder + "ConferenceServer.ini";
}

} // namespace

int main(int argc, char** argv)
{
    std::string settings;
    int port = -1;
    int seconds = 0;
    for (int i = 1; i < argc; ++i) {
        if (!strcmp(argv[i], "-port") && i + 1 < argc)
            port = atoi(argv[++i]);
        else if (!strcmp(argv[i], "-seconds") && i + 1 < argc)
            seconds = atoi(argv[++i]);
        else
            settings = argv[i];
    }
    if (settings.empty())
        settings = DefaultSettings();
    else if (settings.find('\\') == std::string::npos && settings.find(':') == std::string::npos) {
        char full[MAX_PATH] = {};
        GetFullPathNameA(settings.c_str(), MAX_PATH, full, nullptr);
        settings = full;
    }

    CServerConfig config;
    if (!config.Load(settings.c_str())) {
        fprintf(stderr, "Cannot read the settings file %s\n", settings.c_str());
        return 2;
    }
    if (port >= 0)
        config.port = static_cast<uint16_t>(port);

    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
        fprintf(stderr, "Winsock 2.2 is not available\n");
        return 2;
    }
    CStandInServer server(config);
    server.SetRecording(false);
    std::mutex printLock;
    server.SetLog([&printLock](const std::string& line) {
        std::lock_guard<std::mutex> lock(printLock);
        printf("%s\n", line.c_str());
        fflush(stdout);
    });
    if (!server.Start(config.port, false)) {
        fprintf(stderr, "Cannot listen on port %u\n", static_cast<unsigned>(config.port));
        WSACleanup();
        return 1;
    }
    // The screen-sharing programs meet on the application port.
    CScreenRelay screens([&server](uint32_t roomId, uint32_t userId) {
        for (uint32_t id : server.GetRoomUsers(roomId))
            if (id == userId)
                return true;
        return false;
    });
    if (!screens.Start(config.applicationPort, false))
        fprintf(stderr, "Cannot listen on the application port %u: no screen broadcast\n",
                static_cast<unsigned>(config.applicationPort));
    printf("Conference server version %s listening on port %u: %u rooms, %u accounts\n",
           config.version.c_str(), static_cast<unsigned>(server.GetPort()),
           static_cast<unsigned>(config.rooms.size()),
           static_cast<unsigned>(config.accounts.size()));
    fflush(stdout);

    g_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    g_server = &server;
    HANDLE reader = CreateThread(nullptr, 0, ReadCommands, nullptr, 0, nullptr);
    WaitForSingleObject(g_stop, seconds > 0 ? static_cast<DWORD>(seconds) * 1000 : INFINITE);
    screens.Stop();
    server.Stop();
    printf("Conference server stopped after %llu commands\n",
           static_cast<unsigned long long>(server.GetCommandCount()));
    fflush(stdout);
    if (reader)
        CloseHandle(reader);
    CloseHandle(g_stop);
    WSACleanup();
    return 0;
}
