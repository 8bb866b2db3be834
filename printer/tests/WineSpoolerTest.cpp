#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>

#include "CPrinterSetup.h"
#include "CWinSpooler.h"
#include "TestImages.h"

namespace {
std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

bool Has(const std::vector<std::string>& names, const char* name)
{
    return std::any_of(names.begin(), names.end(),
                       [&](const std::string& n) { return lstrcmpiA(n.c_str(), name) == 0; });
}
} // namespace

// Against the system's own spooler, with the stand-in driver files that sit
// beside the test program.
TEST(WendraWineSpooler, InstallTwiceThenRemoveThePrinter)
{
    CWinSpooler spooler;
    std::string settings = TestImages::ScratchFolder("spooler") + "Wendra.ini";
    CPrinterSetup setup(spooler, ProgramFolder(), settings);
    ASSERT_EQ(setup.UnInstall(), 1);

    ASSERT_EQ(setup.Install(), 1);
    std::vector<std::string> names;
    ASSERT_TRUE(spooler.ListDrivers(names));
    EXPECT_TRUE(Has(names, CPrinterSetup::kDriverName));
    ASSERT_TRUE(spooler.ListPorts(names));
    EXPECT_TRUE(Has(names, CPrinterSetup::kPortName));
    ASSERT_TRUE(spooler.ListPrinters(names));
    EXPECT_TRUE(Has(names, CPrinterSetup::kPrinterName));
    EXPECT_NE(GetFileAttributesA((spooler.DriverFolder() + "Kelbro.gpd").c_str()),
              INVALID_FILE_ATTRIBUTES);

    // The printer's default device mode: colour, quality 100, 100 dpi down.
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterA(const_cast<char*>(CPrinterSetup::kPrinterName), &printer, nullptr));
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed);
    ASSERT_TRUE(GetPrinterA(printer, 2, buffer.data(), needed, &needed));
    const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    EXPECT_STREQ(info->pPortName, "morlent vport");
    EXPECT_STREQ(info->pDriverName, "morlent virtual printer");
    ASSERT_NE(info->pDevMode, nullptr);
    EXPECT_EQ(info->pDevMode->dmColor, DMCOLOR_COLOR);
    EXPECT_EQ(info->pDevMode->dmPrintQuality, 100);
    EXPECT_EQ(info->pDevMode->dmYResolution, 100);
    ClosePrinter(printer);

    ASSERT_EQ(setup.Install(), 1);
    ASSERT_TRUE(spooler.ListPrinters(names));
    EXPECT_EQ(std::count_if(names.begin(), names.end(),
                            [](const std::string& n) { return n == CPrinterSetup::kPrinterName; }),
              1);

    ASSERT_TRUE(setup.MakeDefaultPrinter(CPrinterSetup::kPrinterName));
    std::string current;
    ASSERT_TRUE(setup.DefaultPrinter(current));
    EXPECT_EQ(current, CPrinterSetup::kPrinterName);

    // The profile entry of the older NT family: "name,driver,port".
    CWinSpooler nt4(CWinSpooler::NT4);
    ASSERT_TRUE(WriteProfileStringA("windows", "device", "Elsewhere,some driver,LPT1:"));
    ASSERT_TRUE(nt4.DefaultPrinter(current));
    EXPECT_EQ(current, "Elsewhere");
    ASSERT_TRUE(nt4.MakeDefaultPrinter(CPrinterSetup::kPrinterName));
    char entry[256] = {};
    GetProfileStringA("windows", "device", "", entry, sizeof entry);
    EXPECT_EQ(std::string(entry),
              std::string(CPrinterSetup::kPrinterName) + ",morlent virtual printer,morlent vport");
    ASSERT_TRUE(nt4.DefaultPrinter(current));
    EXPECT_EQ(current, CPrinterSetup::kPrinterName);
    // The 9x family marks the printer itself as the default.
    CWinSpooler win9x(CWinSpooler::WIN9X);
    EXPECT_TRUE(win9x.MakeDefaultPrinter(CPrinterSetup::kPrinterName));
    EXPECT_FALSE(win9x.MakeDefaultPrinter("no such printer"));

    EXPECT_EQ(setup.UnInstall(), 1);
    ASSERT_TRUE(spooler.ListPrinters(names));
    EXPECT_FALSE(Has(names, CPrinterSetup::kPrinterName));
    ASSERT_TRUE(spooler.ListDrivers(names));
    EXPECT_FALSE(Has(names, CPrinterSetup::kDriverName));
    ASSERT_TRUE(spooler.ListPorts(names));
    EXPECT_FALSE(Has(names, CPrinterSetup::kPortName));
    EXPECT_EQ(setup.UnInstall(), 1);
}
