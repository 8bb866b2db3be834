#pragma once
#include <map>
#include <string>

#include "ISettingsStore.h"

// Settings kept in memory, for tests that must not touch the machine's registry.
class MemorySettingsStore : public ISettingsStore
{
public:
    bool ReadDword(const char* key, const char* name, DWORD* value) override
    {
        auto it = dwords.find(Path(key, name));
        if (it == dwords.end())
            return false;
        *value = it->second;
        return true;
    }
    bool WriteDword(const char* key, const char* name, DWORD value) override
    {
        dwords[Path(key, name)] = value;
        return true;
    }
    bool ReadString(const char* key, const char* name, size_t maxChars, std::string* value) override
    {
        auto it = strings.find(Path(key, name));
        if (it == strings.end())
            return false;
        *value = it->second.substr(0, maxChars);
        return true;
    }
    bool WriteString(const char* key, const char* name, const char* value, bool) override
    {
        strings[Path(key, name)] = value ? value : "";
        return true;
    }
    bool DeleteValue(const char* key, const char* name) override
    {
        return strings.erase(Path(key, name)) + dwords.erase(Path(key, name)) > 0;
    }
    int ReadIniInt(const char* section, const char* key, int defaultValue) override
    {
        auto it = ini.find(Path(section, key));
        return it == ini.end() ? defaultValue : atoi(it->second.c_str());
    }
    std::string ReadIniString(const char* section, const char* key,
                              const char* defaultValue) override
    {
        auto it = ini.find(Path(section, key));
        return it == ini.end() ? std::string(defaultValue ? defaultValue : "") : it->second;
    }
    bool WriteIniString(const char* section, const char* key, const char* value) override
    {
        ini[Path(section, key)] = value ? value : "";
        return true;
    }

    static std::string Path(const char* key, const char* name)
    {
        return std::string(key) + "|" + name;
    }

    std::map<std::string, std::string> strings;
    std::map<std::string, DWORD> dwords;
    std::map<std::string, std::string> ini;
};
