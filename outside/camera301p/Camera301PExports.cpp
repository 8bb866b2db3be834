// The pan-tilt camera library stand-in: one camera, "Camera 301P", which
// does nothing but keep a record. Each call appends one line to the file
// that HALVERN_CAMERA_LOG names, or else to "CDLL_301P.log" beside the
// library.
#include <windows.h>

#include <cstdio>

namespace {
HMODULE g_module = NULL;
bool g_open = false;

void LogLine(const char* text)
{
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("HALVERN_CAMERA_LOG", path, sizeof(path))) {
        DWORD n = GetModuleFileNameA(g_module, path, sizeof(path));
        while (n > 0 && path[n - 1] != '\\')
            --n;
        lstrcpynA(path + n, "CDLL_301P.log", (int)(sizeof(path) - n));
    }
    char line[128];
    snprintf(line, sizeof(line), "CDLL_301P %s\r\n", text);
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
}
} // namespace

extern "C" {
void StandInMotoUp() { LogLine("MotoUp"); }
void StandInMotoDown() { LogLine("MotoDown"); }
void StandInMotoRight() { LogLine("MotoRight"); }
void StandInMotoLeft() { LogLine("MotoLeft"); }

bool StandInOpenCam(int index)
{
    char text[32];
    snprintf(text, sizeof(text), "OpenCam %d", index);
    LogLine(text);
    g_open = index == 0;
    return g_open;
}

bool StandInCloseCam()
{
    LogLine("CloseCam");
    bool was = g_open;
    g_open = false;
    return was;
}

int StandInGetCamNum()
{
    LogLine("GetCamNum");
    return 1;
}

bool StandInGetCamName(int index, char* name)
{
    char text[32];
    snprintf(text, sizeof(text), "GetCamName %d", index);
    LogLine(text);
    if (index != 0 || !name)
        return false;
    lstrcpyA(name, "Camera 301P");
    return true;
}
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}
