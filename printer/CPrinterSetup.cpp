#include "CPrinterSetup.h"

#include <windows.h>

#include "CPrinterSettings.h"

const char* const CPrinterSetup::kPrinterName = "Morlent虚拟打印机";
const char* const CPrinterSetup::kDriverName = "morlent virtual printer";
const char* const CPrinterSetup::kPortName = "morlent vport";
const char* const CPrinterSetup::kEnvironment = "Windows NT x86";
const char* const CPrinterSetup::kDriverFiles[10] = {
    "Kelbro.gpd", "Kelbro.inf", "Kelbro.ini", "STDNAMES.GPD", "UI.dll",
    "UNI.dll",    "UNIDRV.DLL", "UNIDRV.HLP", "UNIDRVUI.DLL", "UNIRES.DLL",
};

CPrinterSetup::CPrinterSetup(ISpooler& spooler, const std::string& hostFolder,
                             const std::string& settingsPath)
    : m_spooler(spooler), m_hostFolder(hostFolder), m_settingsPath(settingsPath)
{}

bool CPrinterSetup::Contains(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& n : names)
        if (lstrcmpiA(n.c_str(), name.c_str()) == 0)
            return true;
    return false;
}

void CPrinterSetup::CopyDriverFiles(const std::string& driverFolder)
{
    for (const char* file : kDriverFiles) {
        std::string target = driverFolder + file;
        DeleteFileA(target.c_str());
        CopyFileA((m_hostFolder + file).c_str(), target.c_str(), FALSE);
    }
}

int CPrinterSetup::Install()
{
    CPrinterSettings(m_settingsPath).WriteDefaults();

    std::string driverFolder = m_spooler.DriverFolder();
    CopyDriverFiles(driverFolder);

    std::vector<std::string> names;
    if (!m_spooler.ListDrivers(names))
        return ENUM_DRIVERS_FAILED;
    if (!Contains(names, kDriverName)) {
        ISpooler::DriverRecord driver;
        driver.version = 4;
        driver.name = kDriverName;
        driver.environment = kEnvironment;
        driver.driverPath = driverFolder + "UNIDRV.DLL";
        driver.dataFile = driverFolder + "Kelbro.gpd";
        driver.configFile = driverFolder + "UNIDRVUI.DLL";
        driver.dependentFiles = {"UNIRES.DLL", "STDNAMES.GPD", "Kelbro.ini", "uni.dll", "ui.dll"};
        driver.defaultDataType = "RAW";
        if (!m_spooler.InstallDriver(driver))
            return ADD_DRIVER_FAILED;
    }

    if (!m_spooler.ListPrinters(names))
        return ENUM_PRINTERS_FAILED;
    if (Contains(names, kPrinterName)) {
        ISpooler::DeleteResult deleted = m_spooler.RemovePrinter(kPrinterName);
        if (deleted == ISpooler::DELETE_FAILED)
            return DELETE_PRINTER_FAILED;
        if (deleted == ISpooler::OPEN_FAILED)
            return INSTALLED;
    }

    if (m_spooler.ListPorts(names) && !Contains(names, kPortName)) {
        if (!m_spooler.AddLocalPort(kPortName)) {
            m_spooler.ShowMessage("error:OpenPrinter Local Port", "AddPrintPort");
            return ADD_PORT_FAILED;
        }
    }

    ISpooler::PrinterRecord printer;
    printer.printerName = kPrinterName;
    printer.portName = kPortName;
    printer.driverName = kDriverName;
    printer.printProcessor = "winprint";
    printer.dataType = "RAW";
    if (!m_spooler.InstallPrinter(printer))
        return ADD_PRINTER_FAILED;
    return INSTALLED;
}

int CPrinterSetup::UnInstall()
{
    std::vector<std::string> names;
    if (m_spooler.ListPrinters(names) && Contains(names, kPrinterName))
        m_spooler.RemovePrinter(kPrinterName);
    if (m_spooler.ListDrivers(names) && Contains(names, kDriverName))
        m_spooler.RemoveDriver(kDriverName, kEnvironment);
    if (m_spooler.ListPorts(names) && Contains(names, kPortName))
        m_spooler.RemovePort(kPortName);
    return 1;
}

bool CPrinterSetup::DefaultPrinter(std::string& name) { return m_spooler.DefaultPrinter(name); }

bool CPrinterSetup::MakeDefaultPrinter(const std::string& name)
{
    return m_spooler.MakeDefaultPrinter(name);
}
