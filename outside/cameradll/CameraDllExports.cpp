// The camera library stand-in: no camera, only a record of what it was
// asked. Each call appends one line to the file that HALVERN_CAMERA_LOG
// names, or else to "CDll.log" beside the library.
#include <windows.h>

#include <cstdio>

namespace {
HMODULE g_module = NULL;

void LogLine(const char* line)
{
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("HALVERN_CAMERA_LOG", path, sizeof(path))) {
        DWORD n = GetModuleFileNameA(g_module, path, sizeof(path));
        while (n > 0 && path[n - 1] != '\\')
            --n;
        lstrcpynA(path + n, "CDll.log", (int)(sizeof(path) - n));
    }
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
}
} // namespace

extern "C" int __stdcall ZxControl(int command, int value)
{
    char line[64];
    snprintf(line, sizeof(line), "CDll ZX_Control %d %d\r\n", command, value);
    LogLine(line);
    return 1;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}
