#pragma once
#include "ISettingsStore.h"

// Settings in the machine's registry (HKEY_LOCAL_MACHINE) and in one ini file.
class CWin32SettingsStore : public ISettingsStore
{
public:
    explicit CWin32SettingsStore(const std::string& iniPath);

    bool ReadDword(const char* key, const char* name, DWORD* value) override;
    bool WriteDword(const char* key, const char* name, DWORD value) override;
    bool ReadString(const char* key, const char* name, size_t maxChars,
                    std::string* value) override;
    bool WriteString(const char* key, const char* name, const char* value, bool create) override;
    bool DeleteValue(const char* key, const char* name) override;

    int ReadIniInt(const char* section, const char* key, int defaultValue) override;
    std::string ReadIniString(const char* section, const char* key,
                              const char* defaultValue) override;
    bool WriteIniString(const char* section, const char* key, const char* value) override;

    const std::string& GetIniPath() const { return m_iniPath; }

private:
    std::string m_iniPath;
};
