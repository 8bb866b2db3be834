#include "CWinSpooler.h"

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <vector>

namespace {
// Runs a two-call enumeration (size query, then fill) into a byte buffer.
template <typename Enum>
bool Enumerate(Enum call, std::vector<BYTE>& buffer, DWORD& count)
{
    DWORD needed = 0;
    count = 0;
    if (call(nullptr, 0, &needed, &count))
        return true;
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return false;
    buffer.assign(needed, 0);
    return call(buffer.data(), needed, &needed, &count) != FALSE;
}

char* Str(const std::string& s) { return const_cast<char*>(s.c_str()); }

void BroadcastSettingChange(const char* section)
{
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>(section),
                        SMTO_NORMAL, 1000, &result);
}
} // namespace

std::string CWinSpooler::DriverFolder()
{
    char system[MAX_PATH] = {};
    UINT n = GetSystemDirectoryA(system, sizeof system);
    if (n == 0 || n >= sizeof system)
        return std::string();
    return std::string(system) + "\\spool\\DRIVERS\\W32X86\\";
}

bool CWinSpooler::ListDrivers(std::vector<std::string>& names)
{
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!Enumerate([](BYTE* b, DWORD s, DWORD* n,
                      DWORD* c) { return EnumPrinterDriversA(nullptr, nullptr, 1, b, s, n, c); },
                   buffer, count))
        return false;
    names.clear();
    const DRIVER_INFO_1A* info = reinterpret_cast<const DRIVER_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names.push_back(info[i].pName ? info[i].pName : "");
    return true;
}

bool CWinSpooler::InstallDriver(const DriverRecord& driver)
{
    std::string dependent;
    for (const std::string& file : driver.dependentFiles)
        dependent.append(file).push_back('\0');
    dependent.push_back('\0');
    DRIVER_INFO_3A info = {};
    info.cVersion = driver.version;
    info.pName = Str(driver.name);
    info.pEnvironment = Str(driver.environment);
    info.pDriverPath = Str(driver.driverPath);
    info.pDataFile = Str(driver.dataFile);
    info.pConfigFile = Str(driver.configFile);
    info.pHelpFile = nullptr;
    info.pDependentFiles = &dependent[0];
    info.pMonitorName = nullptr;
    info.pDefaultDataType = Str(driver.defaultDataType);
    return AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&info)) != FALSE;
}

bool CWinSpooler::ListPrinters(std::vector<std::string>& names)
{
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!Enumerate(
            [](BYTE* b, DWORD s, DWORD* n, DWORD* c) {
                return ::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 1, b, s, n, c);
            },
            buffer, count))
        return false;
    names.clear();
    const PRINTER_INFO_1A* info = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names.push_back(info[i].pName ? info[i].pName : "");
    return true;
}

ISpooler::DeleteResult CWinSpooler::RemovePrinter(const std::string& name)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(Str(name), &printer, &defaults))
        return OPEN_FAILED;
    BOOL ok = ::DeletePrinter(printer);
    ClosePrinter(printer);
    return ok ? DELETED : DELETE_FAILED;
}

bool CWinSpooler::ListPorts(std::vector<std::string>& names)
{
    std::vector<BYTE> buffer;
    DWORD count = 0;
    if (!Enumerate(
            [](BYTE* b, DWORD s, DWORD* n, DWORD* c) { return EnumPortsA(nullptr, 1, b, s, n, c); },
            buffer, count))
        return false;
    names.clear();
    const PORT_INFO_1A* info = reinterpret_cast<const PORT_INFO_1A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names.push_back(info[i].pName ? info[i].pName : "");
    return true;
}

bool CWinSpooler::AddLocalPort(const std::string& name)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, SERVER_ACCESS_ADMINISTER};
    HANDLE monitor = nullptr;
    if (!OpenPrinterA(const_cast<char*>(",XcvMonitor Local Port"), &monitor, &defaults))
        return false;
    int chars = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
    std::vector<WCHAR> port(chars > 0 ? chars : 1, 0);
    if (chars > 0)
        MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, port.data(), chars);
    DWORD needed = 0, status = 0;
    XcvDataW(monitor, L"AddPort", reinterpret_cast<BYTE*>(port.data()),
             static_cast<DWORD>(port.size() * sizeof(WCHAR)), nullptr, 0, &needed, &status);
    ClosePrinter(monitor);
    return true;
}

bool CWinSpooler::InstallPrinter(const PrinterRecord& printer)
{
    PRINTER_INFO_2A info = {};
    info.pPrinterName = Str(printer.printerName);
    info.pPortName = Str(printer.portName);
    info.pDriverName = Str(printer.driverName);
    info.pPrintProcessor = Str(printer.printProcessor);
    info.pDatatype = Str(printer.dataType);
    HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
    if (!added)
        return false;
    ClosePrinter(added);
    return SetDevMode(printer.printerName);
}

bool CWinSpooler::SetDevMode(const std::string& printerName)
{
    PRINTER_DEFAULTSA defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(Str(printerName), &printer, &defaults))
        return false;
    bool ok = false;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> infoBuffer(needed ? needed : 1);
    if (needed && GetPrinterA(printer, 2, infoBuffer.data(), needed, &needed)) {
        PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(infoBuffer.data());
        LONG size = DocumentPropertiesA(nullptr, printer, Str(printerName), nullptr, nullptr, 0);
        if (size >= static_cast<LONG>(offsetof(DEVMODEA, dmYResolution) + sizeof(short))) {
            std::vector<BYTE> modeBuffer(size);
            DEVMODEA* mode = reinterpret_cast<DEVMODEA*>(modeBuffer.data());
            if (DocumentPropertiesA(nullptr, printer, Str(printerName), mode, nullptr,
                                    DM_OUT_BUFFER) == IDOK) {
                mode->dmFields |= DM_COLOR | DM_PRINTQUALITY | DM_YRESOLUTION;
                mode->dmColor = DMCOLOR_COLOR;
                mode->dmPrintQuality = 100;
                mode->dmYResolution = 100;
                if (DocumentPropertiesA(nullptr, printer, Str(printerName), mode, mode,
                                        DM_IN_BUFFER | DM_OUT_BUFFER) == IDOK) {
                    info->pDevMode = mode;
                    info->pSecurityDescriptor = nullptr;
                    ok = SetPrinterA(printer, 2, infoBuffer.data(), 0) ||
                         GetLastError() == ERROR_ACCESS_DENIED;
                }
            }
        }
    }
    ClosePrinter(printer);
    return ok;
}

bool CWinSpooler::RemoveDriver(const std::string& name, const std::string& environment)
{
    return DeletePrinterDriverA(nullptr, Str(environment), Str(name)) != FALSE;
}

bool CWinSpooler::RemovePort(const std::string& name)
{
    return DeletePortA(nullptr, nullptr, Str(name)) != FALSE;
}

CWinSpooler::Platform CWinSpooler::CurrentPlatform() const
{
    if (m_platform != AUTO)
        return m_platform;
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    if (version.dwPlatformId != VER_PLATFORM_WIN32_NT)
        return WIN9X;
    return version.dwMajorVersion < 5 ? NT4 : NT5;
}

bool CWinSpooler::DefaultPrinter(std::string& name)
{
    switch (CurrentPlatform()) {
    case WIN9X: {
        std::vector<BYTE> buffer;
        DWORD count = 0;
        if (!Enumerate(
                [](BYTE* b, DWORD s, DWORD* n, DWORD* c) {
                    return ::EnumPrintersA(PRINTER_ENUM_DEFAULT, nullptr, 2, b, s, n, c);
                },
                buffer, count) ||
            count == 0)
            return false;
        const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
        name = info->pPrinterName ? info->pPrinterName : "";
        return !name.empty();
    }
    case NT4: {
        char entry[1024] = {};
        GetProfileStringA("windows", "device", ",,,", entry, sizeof entry);
        char* comma = strchr(entry, ',');
        if (comma)
            *comma = '\0';
        name = entry;
        return !name.empty();
    }
    case NT5:
    default: {
        char buffer[256] = {};
        DWORD size = sizeof buffer;
        if (!::GetDefaultPrinterA(buffer, &size)) {
            if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
                return false;
            std::vector<char> big(size + 1, 0);
            if (!::GetDefaultPrinterA(big.data(), &size))
                return false;
            name = big.data();
            return true;
        }
        name = buffer;
        return true;
    }
    }
}

bool CWinSpooler::MakeDefaultPrinter(const std::string& name)
{
    Platform platform = CurrentPlatform();
    if (platform == NT5) {
        if (!::SetDefaultPrinterA(name.c_str()))
            return false;
        BroadcastSettingChange(nullptr);
        return true;
    }
    HANDLE printer = nullptr;
    if (!OpenPrinterA(Str(name), &printer, nullptr))
        return false;
    bool ok = false;
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed ? needed : 1);
    if (needed && GetPrinterA(printer, 2, buffer.data(), needed, &needed)) {
        PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
        if (platform == WIN9X) {
            info->Attributes |= PRINTER_ATTRIBUTE_DEFAULT;
            ok = SetPrinterA(printer, 2, buffer.data(), 0) != FALSE;
            if (ok)
                BroadcastSettingChange("windows");
        } else {
            std::string device = name + "," + (info->pDriverName ? info->pDriverName : "") + "," +
                                 (info->pPortName ? info->pPortName : "");
            ok = WriteProfileStringA("windows", "device", device.c_str()) != FALSE;
            if (ok)
                BroadcastSettingChange(nullptr);
        }
    }
    ClosePrinter(printer);
    return ok;
}

void CWinSpooler::ShowMessage(const char* text, const char* title)
{
    MessageBoxA(nullptr, text, title, MB_OK);
}
