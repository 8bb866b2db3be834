#pragma once
#include "ISpooler.h"

// The system's print spooler.
class CWinSpooler : public ISpooler
{
public:
    std::string DriverFolder() override;
    bool ListDrivers(std::vector<std::string>& names) override;
    bool InstallDriver(const DriverRecord& driver) override;
    bool ListPrinters(std::vector<std::string>& names) override;
    DeleteResult RemovePrinter(const std::string& name) override;
    bool ListPorts(std::vector<std::string>& names) override;
    bool AddLocalPort(const std::string& name) override;
    bool InstallPrinter(const PrinterRecord& printer) override;
    bool RemoveDriver(const std::string& name, const std::string& environment) override;
    bool RemovePort(const std::string& name) override;
    bool DefaultPrinter(std::string& name) override;
    bool MakeDefaultPrinter(const std::string& name) override;
    void ShowMessage(const char* text, const char* title) override;

private:
    enum Platform { WIN9X, NT4, NT5 };
    static Platform CurrentPlatform();
    static bool SetDevMode(const std::string& printerName);
};
