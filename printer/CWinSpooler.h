#pragma once
#include "ISpooler.h"

// The system's print spooler.
class CWinSpooler : public ISpooler
{
public:
    // The default printer is kept differently on each family of the system;
    // AUTO asks the running system which one it is.
    enum Platform { AUTO, WIN9X, NT4, NT5 };
    explicit CWinSpooler(Platform platform = AUTO) : m_platform(platform) {}

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
    Platform CurrentPlatform() const;
    static bool SetDevMode(const std::string& printerName);

    Platform m_platform;
};
