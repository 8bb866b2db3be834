#include "CDefaultPrinter.h"

#include <winspool.h>

#include <string>
#include <vector>

namespace {

class Win32Printers : public IPrinterPlatform
{
public:
    bool GetVersion(OSVERSIONINFOA* version) override { return GetVersionExA(version) != FALSE; }
    bool Open(const char* name, HANDLE* printer) override
    {
        return OpenPrinterA(const_cast<char*>(name), printer, nullptr) != FALSE;
    }
    bool ReadInfo(HANDLE printer, DWORD level, BYTE* block, DWORD size, DWORD* needed) override
    {
        return GetPrinterA(printer, level, block, size, needed) != FALSE;
    }
    bool WriteInfo(HANDLE printer, DWORD level, BYTE* block) override
    {
        return SetPrinterA(printer, level, block, 0) != FALSE;
    }
    void Close(HANDLE printer) override { ::ClosePrinter(printer); }
    bool WriteProfile(const char* section, const char* key, const char* value) override
    {
        return WriteProfileStringA(section, key, value) != FALSE;
    }
    void BroadcastSettingChange(const char* section) override
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(section),
                            SMTO_NORMAL, 1000, &result);
    }
};

// The printer's level-2 information in a zero-filled block; empty on failure.
std::vector<BYTE> ReadLevel2(IPrinterPlatform& platform, HANDLE printer)
{
    DWORD needed = 0;
    platform.ReadInfo(printer, 2, nullptr, 0, &needed);
    if (needed < sizeof(PRINTER_INFO_2A))
        return std::vector<BYTE>();
    std::vector<BYTE> block(needed, 0);
    if (!platform.ReadInfo(printer, 2, block.data(), needed, &needed))
        return std::vector<BYTE>();
    return block;
}

int Done(int* done, int result)
{
    if (done)
        *done = result;
    return result;
}

} // namespace

int CDefaultPrinter::Switch(const char* printer, int* done)
{
    Win32Printers platform;
    return Switch(printer, done, platform);
}

int CDefaultPrinter::Switch(const char* printer, int* done, IPrinterPlatform& platform)
{
    if (!printer || !*printer)
        return Done(done, 0);
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!platform.GetVersion(&version))
        return Done(done, 0);
    const bool family9x = version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
    const bool familyNt = version.dwPlatformId == VER_PLATFORM_WIN32_NT;
    // Nothing can be switched elsewhere, and that is no success.
    if (!family9x && !familyNt)
        return Done(done, 0);

    HANDLE handle = nullptr;
    if (!platform.Open(printer, &handle) || !handle)
        return Done(done, 0);
    std::vector<BYTE> block = ReadLevel2(platform, handle);
    bool ok = !block.empty();
    if (ok && family9x) {
        PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(block.data());
        info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
        ok = platform.WriteInfo(handle, 2, block.data());
    } else if (ok) {
        const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(block.data());
        if (!info->pPrinterName || !info->pDriverName || !info->pPortName) {
            ok = false;
        } else {
            const std::string device =
                std::string(info->pPrinterName) + "," + info->pDriverName + "," + info->pPortName;
            ok = platform.WriteProfile("windows", "device", device.c_str());
        }
    }
    platform.Close(handle);
    if (!ok)
        return Done(done, 0);
    platform.BroadcastSettingChange(family9x ? "windows" : nullptr);
    return Done(done, 1);
}
