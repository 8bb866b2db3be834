#pragma once
#include <winsock2.h>
#include <windows.h>

#include <string>

// The client's settings storage: values under HKEY_LOCAL_MACHINE and the
// keys of the program's ini file. Every read that fails leaves the caller's
// value as it was.
class ISettingsStore
{
public:
    virtual ~ISettingsStore() = default;

    virtual bool ReadDword(const char* key, const char* name, DWORD* value) = 0;
    // Creates the key when it is missing.
    virtual bool WriteDword(const char* key, const char* name, DWORD value) = 0;
    // A string value of at most maxChars characters (longer ones are cut).
    virtual bool ReadString(const char* key, const char* name, size_t maxChars,
                            std::string* value) = 0;
    // create: make the key when it is missing; otherwise a missing key fails.
    virtual bool WriteString(const char* key, const char* name, const char* value, bool create) = 0;
    virtual bool DeleteValue(const char* key, const char* name) = 0;

    virtual int ReadIniInt(const char* section, const char* key, int defaultValue) = 0;
    virtual std::string ReadIniString(const char* section, const char* key,
                                      const char* defaultValue) = 0;
    virtual bool WriteIniString(const char* section, const char* key, const char* value) = 0;
};
