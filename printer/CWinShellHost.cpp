#include "CWinShellHost.h"

#include <shellapi.h>

int CWinShellHost::Execute(HWND owner, const char* verb, const char* file, const char* parameters,
                           const char* folder, int show)
{
    HINSTANCE result = ShellExecuteA(owner, verb, file, parameters, folder, show);
    return static_cast<int>(reinterpret_cast<INT_PTR>(result));
}

bool CWinShellHost::FileType(const std::string& extension, std::string& type)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, extension.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    DWORD kind = 0;
    LONG r = RegQueryValueExA(key, nullptr, nullptr, &kind, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    type = (r == ERROR_SUCCESS && (kind == REG_SZ || kind == REG_EXPAND_SZ)) ? value : "";
    return true;
}

bool CWinShellHost::ShellVerbs(const std::string& type, std::vector<std::string>& verbs)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, (type + "\\shell").c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    verbs.clear();
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD size = sizeof name;
        if (RegEnumKeyExA(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        verbs.push_back(name);
    }
    RegCloseKey(key);
    return true;
}

void CWinShellHost::ShowMessage(const char* text, const char* title, unsigned flags)
{
    MessageBoxA(nullptr, text, title, flags);
}
