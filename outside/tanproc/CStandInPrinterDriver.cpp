#include "CStandInPrinterDriver.h"

#include <windows.h>
#include <winspool.h>

#include "VirtualPrinterRecord.h"

namespace {
// The driver, its data file and its configuration library.
const char* const kFiles[3] = {"LJ5600.DLL", "LJ5600.GPD", "LJ5600UI.DLL"};
} // namespace

bool CStandInPrinterDriver::Install(const std::string& folder, std::string* error)
{
    std::string base = folder;
    if (!base.empty() && base.back() != '\\')
        base += '\\';
    std::string paths[3];
    for (int i = 0; i < 3; ++i) {
        paths[i] = base + kFiles[i];
        if (GetFileAttributesA(paths[i].c_str()) == INVALID_FILE_ATTRIBUTES) {
            if (error)
                *error = "missing " + paths[i];
            return false;
        }
    }
    // The spooler copies the files into its driver folder.
    char empty[2] = {0, 0};
    DRIVER_INFO_3A info = {};
    info.cVersion = 3;
    info.pName = (LPSTR)VPRINT_DRIVER_NAME;
    info.pEnvironment = (LPSTR) "Windows NT x86";
    info.pDriverPath = &paths[0][0];
    info.pDataFile = &paths[1][0];
    info.pConfigFile = &paths[2][0];
    info.pDependentFiles = empty;
    info.pDefaultDataType = (LPSTR) "RAW";
    if (AddPrinterDriverA(nullptr, 3, (BYTE*)&info))
        return true;
    const DWORD code = GetLastError();
    if (code == ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return true;
    if (error)
        *error = "the spooler refused the driver " + std::string(VPRINT_DRIVER_NAME) + " (error " +
                 std::to_string(code) + ")";
    return false;
}
