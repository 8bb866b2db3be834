#pragma once
#include <string>
#include <vector>

// What the printer set-up needs of the local print spooler. The real one
// talks to the system's spooler; tests put a fake in its place.
class ISpooler
{
public:
    struct DriverRecord
    {
        unsigned version = 0;
        std::string name;
        std::string environment;
        std::string driverPath;
        std::string dataFile;
        std::string configFile;
        std::vector<std::string> dependentFiles;
        std::string defaultDataType;
    };
    struct PrinterRecord
    {
        std::string printerName;
        std::string portName;
        std::string driverName;
        std::string printProcessor;
        std::string dataType;
    };
    enum DeleteResult { DELETED, OPEN_FAILED, DELETE_FAILED };

    virtual ~ISpooler() = default;

    // The spooler's driver folder, ending in a backslash.
    virtual std::string DriverFolder() = 0;
    virtual bool ListDrivers(std::vector<std::string>& names) = 0;
    virtual bool InstallDriver(const DriverRecord& driver) = 0;
    virtual bool ListPrinters(std::vector<std::string>& names) = 0;
    virtual DeleteResult RemovePrinter(const std::string& name) = 0;
    virtual bool ListPorts(std::vector<std::string>& names) = 0;
    // Adds a port through the local port monitor; false only when the monitor
    // cannot be opened (the request's own result is not known).
    virtual bool AddLocalPort(const std::string& name) = 0;
    // Adds the printer, then sets its default device mode to colour, quality
    // 100 and vertical resolution 100.
    virtual bool InstallPrinter(const PrinterRecord& printer) = 0;
    virtual bool RemoveDriver(const std::string& name, const std::string& environment) = 0;
    virtual bool RemovePort(const std::string& name) = 0;
    // The default printer's name; false when there is none.
    virtual bool DefaultPrinter(std::string& name) = 0;
    virtual bool MakeDefaultPrinter(const std::string& name) = 0;
    // The one message the set-up shows the user.
    virtual void ShowMessage(const char* text, const char* title) = 0;
};
