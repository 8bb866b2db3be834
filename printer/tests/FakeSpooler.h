#pragma once
#include <map>
#include <string>
#include <vector>

#include "ISpooler.h"

// An in-memory spooler that records what was asked of it and fails the
// steps a test names.
class FakeSpooler : public ISpooler
{
public:
    std::string driverFolder;
    std::vector<std::string> drivers, printers, ports;
    std::string defaultPrinter;
    bool failEnumDrivers = false, failAddDriver = false, failEnumPrinters = false,
         failEnumPorts = false;
    bool failAddPort = false, failAddPrinter = false, failSetDefault = false;
    DeleteResult deleteResult = DELETED;

    std::vector<std::string> calls;
    std::vector<DriverRecord> addedDrivers;
    std::vector<PrinterRecord> addedPrinters;
    std::vector<std::pair<std::string, std::string>> messages;

    std::string DriverFolder() override { return driverFolder; }
    bool ListDrivers(std::vector<std::string>& names) override
    {
        calls.push_back("EnumDrivers");
        names = drivers;
        return !failEnumDrivers;
    }
    bool InstallDriver(const DriverRecord& driver) override
    {
        calls.push_back("AddDriver");
        if (failAddDriver)
            return false;
        addedDrivers.push_back(driver);
        drivers.push_back(driver.name);
        return true;
    }
    bool ListPrinters(std::vector<std::string>& names) override
    {
        calls.push_back("EnumPrinters");
        names = printers;
        return !failEnumPrinters;
    }
    DeleteResult RemovePrinter(const std::string& name) override
    {
        calls.push_back("DeletePrinter");
        if (deleteResult == DELETED)
            Erase(printers, name);
        return deleteResult;
    }
    bool ListPorts(std::vector<std::string>& names) override
    {
        calls.push_back("EnumPorts");
        names = ports;
        return !failEnumPorts;
    }
    bool AddLocalPort(const std::string& name) override
    {
        calls.push_back("AddLocalPort");
        if (failAddPort)
            return false;
        ports.push_back(name);
        return true;
    }
    bool InstallPrinter(const PrinterRecord& printer) override
    {
        calls.push_back("AddPrinter");
        if (failAddPrinter)
            return false;
        addedPrinters.push_back(printer);
        printers.push_back(printer.printerName);
        return true;
    }
    bool RemoveDriver(const std::string& name, const std::string& environment) override
    {
        calls.push_back("DeleteDriver " + environment);
        Erase(drivers, name);
        return true;
    }
    bool RemovePort(const std::string& name) override
    {
        calls.push_back("DeletePort");
        Erase(ports, name);
        return true;
    }
    bool DefaultPrinter(std::string& name) override
    {
        name = defaultPrinter;
        return !defaultPrinter.empty();
    }
    bool MakeDefaultPrinter(const std::string& name) override
    {
        calls.push_back("SetDefault " + name);
        if (failSetDefault)
            return false;
        defaultPrinter = name;
        return true;
    }
    void ShowMessage(const char* text, const char* title) override
    {
        messages.emplace_back(text, title);
    }

private:
    static void Erase(std::vector<std::string>& list, const std::string& name)
    {
        for (auto it = list.begin(); it != list.end(); ++it)
            if (*it == name) {
                list.erase(it);
                return;
            }
    }
};
