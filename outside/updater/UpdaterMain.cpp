// The updater stand-in: appends its command line, one line per start, to
// "Updater.txt" in its own folder, so that callers can see how it was started.
#include <windows.h>

#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH)
        return 1;
    char* slash = strrchr(path, '\\');
    if (!slash || static_cast<size_t>(slash - path) + 12 >= MAX_PATH)
        return 1;
    strcpy(slash + 1, "Updater.txt");
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    BOOL ok = WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr) &&
              WriteFile(file, "\r\n", 2, &written, nullptr);
    CloseHandle(file);
    return ok ? 0 : 1;
}
