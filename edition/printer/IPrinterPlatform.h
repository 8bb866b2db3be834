#pragma once
#include <winsock2.h>
#include <windows.h>

// The system calls the default-printer switch makes; tests give their own.
class IPrinterPlatform
{
public:
    virtual ~IPrinterPlatform() = default;
    virtual bool GetVersion(OSVERSIONINFOA* version) = 0;
    virtual bool Open(const char* name, HANDLE* printer) = 0;
    // As the spooler's: false with needed set when the block is too small.
    virtual bool ReadInfo(HANDLE printer, DWORD level, BYTE* block, DWORD size, DWORD* needed) = 0;
    virtual bool WriteInfo(HANDLE printer, DWORD level, BYTE* block) = 0;
    virtual void Close(HANDLE printer) = 0;
    virtual bool WriteProfile(const char* section, const char* key, const char* value) = 0;
    // WM_SETTINGCHANGE to every top-level window (section may be null).
    virtual void BroadcastSettingChange(const char* section) = 0;
};
