#include "CWin32SettingsStore.h"

#include <cstring>
#include <vector>

namespace {

HKEY OpenKey(const char* key, REGSAM access, bool create)
{
    HKEY handle = nullptr;
    LONG result = create ? RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, access, nullptr,
                                           &handle, nullptr)
                         : RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, access, &handle);
    return result == ERROR_SUCCESS ? handle : nullptr;
}

} // namespace

CWin32SettingsStore::CWin32SettingsStore(const std::string& iniPath) : m_iniPath(iniPath) {}

bool CWin32SettingsStore::ReadDword(const char* key, const char* name, DWORD* value)
{
    HKEY handle = OpenKey(key, KEY_READ, false);
    if (!handle)
        return false;
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof data;
    LONG result =
        RegQueryValueExA(handle, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data)
        return false;
    *value = data;
    return true;
}

bool CWin32SettingsStore::WriteDword(const char* key, const char* name, DWORD value)
{
    HKEY handle = OpenKey(key, KEY_WRITE, true);
    if (!handle)
        return false;
    LONG result = RegSetValueExA(handle, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool CWin32SettingsStore::ReadString(const char* key, const char* name, size_t maxChars,
                                     std::string* value)
{
    HKEY handle = OpenKey(key, KEY_READ, false);
    if (!handle)
        return false;
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExA(handle, name, nullptr, &type, nullptr, &size);
    std::vector<char> data;
    if (result == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ)) {
        data.resize(size + 1);
        result = RegQueryValueExA(handle, name, nullptr, &type,
                                  reinterpret_cast<BYTE*>(data.data()), &size);
    } else if (result == ERROR_SUCCESS) {
        result = ERROR_INVALID_DATA;
    }
    RegCloseKey(handle);
    if (result != ERROR_SUCCESS)
        return false;
    // The stored text need not be terminated, and may be longer than asked.
    size_t length = 0;
    while (length < size && length < maxChars && data[length] != '\0')
        ++length;
    value->assign(data.data(), length);
    return true;
}

bool CWin32SettingsStore::WriteString(const char* key, const char* name, const char* value,
                                      bool create)
{
    HKEY handle = OpenKey(key, KEY_WRITE, create);
    if (!handle)
        return false;
    const char* text = value ? value : "";
    LONG result = RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 static_cast<DWORD>(strlen(text) + 1));
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

bool CWin32SettingsStore::DeleteValue(const char* key, const char* name)
{
    HKEY handle = OpenKey(key, KEY_WRITE, false);
    if (!handle)
        return false;
    LONG result = RegDeleteValueA(handle, name);
    RegCloseKey(handle);
    return result == ERROR_SUCCESS;
}

int CWin32SettingsStore::ReadIniInt(const char* section, const char* key, int defaultValue)
{
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, m_iniPath.c_str()));
}

std::string CWin32SettingsStore::ReadIniString(const char* section, const char* key,
                                               const char* defaultValue)
{
    char text[260] = {};
    GetPrivateProfileStringA(section, key, defaultValue ? defaultValue : "", text, sizeof text,
                             m_iniPath.c_str());
    return text;
}

bool CWin32SettingsStore::WriteIniString(const char* section, const char* key, const char* value)
{
    return WritePrivateProfileStringA(section, key, value, m_iniPath.c_str()) != FALSE;
}
