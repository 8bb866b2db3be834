#pragma once
#include <string>

#include "ISpooler.h"

// Puts the virtual printer into the spooler and takes it out again, and
// switches the default printer for print jobs.
class CPrinterSetup
{
public:
    enum Result {
        INSTALLED = 1,
        ENUM_DRIVERS_FAILED = -102,
        ADD_DRIVER_FAILED = -103,
        ENUM_PRINTERS_FAILED = -104,
        ADD_PRINTER_FAILED = -105,
        DELETE_PRINTER_FAILED = -106,
        ADD_PORT_FAILED = -107,
    };

    static const char* const kPrinterName;
    static const char* const kDriverName;
    static const char* const kPortName;
    static const char* const kEnvironment;
    static const char* const kDriverFiles[10];

    // hostFolder: the folder the driver files are copied from, ending in a
    // backslash; settingsPath: the settings file the install writes.
    CPrinterSetup(ISpooler& spooler, const std::string& hostFolder,
                  const std::string& settingsPath);

    int Install();
    int UnInstall();
    bool DefaultPrinter(std::string& name);
    bool MakeDefaultPrinter(const std::string& name);

private:
    void CopyDriverFiles(const std::string& driverFolder);
    static bool Contains(const std::vector<std::string>& names, const std::string& name);

    ISpooler& m_spooler;
    std::string m_hostFolder;
    std::string m_settingsPath;
};
