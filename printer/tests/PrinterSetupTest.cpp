#include <gtest/gtest.h>

#include <windows.h>

#include "CPrinterSetup.h"
#include "FakeSpooler.h"
#include "TestImages.h"

namespace {
struct SetupFixture
{
    FakeSpooler spooler;
    std::string host = TestImages::ScratchFolder("host");
    std::string settings = host + "Wendra.ini";
    CPrinterSetup setup{spooler, host, settings};
    SetupFixture() { spooler.driverFolder = TestImages::ScratchFolder("drivers"); }
};
} // namespace

TEST(WendraSetup, FreshInstallAddsDriverPortAndPrinter)
{
    SetupFixture f;
    // Two driver files present at the host, one stale copy in the driver folder.
    TestImages::WriteAll(f.host + "Kelbro.gpd", {'n', 'e', 'w'});
    TestImages::WriteAll(f.host + "UNIDRV.DLL", {'d', 'l', 'l'});
    TestImages::WriteAll(f.spooler.driverFolder + "Kelbro.gpd", {'o', 'l', 'd'});
    TestImages::WriteAll(f.spooler.driverFolder + "UNIRES.DLL", {'o', 'l', 'd'});

    EXPECT_EQ(f.setup.Install(), 1);

    EXPECT_EQ(TestImages::ReadAll(f.spooler.driverFolder + "Kelbro.gpd"),
              (std::vector<uint8_t>{'n', 'e', 'w'}));
    EXPECT_EQ(TestImages::ReadAll(f.spooler.driverFolder + "UNIDRV.DLL").size(), 3u);
    // An existing target is never kept, even when the host has no such file.
    EXPECT_EQ(GetFileAttributesA((f.spooler.driverFolder + "UNIRES.DLL").c_str()),
              INVALID_FILE_ATTRIBUTES);

    char value[64] = {};
    GetPrivateProfileStringA("Wendar", "OutExtName", "", value, sizeof value, f.settings.c_str());
    EXPECT_STREQ(value, "bmp");

    ASSERT_EQ(f.spooler.addedDrivers.size(), 1u);
    const ISpooler::DriverRecord& d = f.spooler.addedDrivers[0];
    EXPECT_EQ(d.version, 4u);
    EXPECT_EQ(d.name, "morlent virtual printer");
    EXPECT_EQ(d.environment, "Windows NT x86");
    EXPECT_EQ(d.driverPath, f.spooler.driverFolder + "UNIDRV.DLL");
    EXPECT_EQ(d.dataFile, f.spooler.driverFolder + "Kelbro.gpd");
    EXPECT_EQ(d.configFile, f.spooler.driverFolder + "UNIDRVUI.DLL");
    EXPECT_EQ(d.dependentFiles, (std::vector<std::string>{"UNIRES.DLL", "STDNAMES.GPD",
                                                          "Kelbro.ini", "uni.dll", "ui.dll"}));
    EXPECT_EQ(d.defaultDataType, "RAW");

    EXPECT_EQ(f.spooler.ports, std::vector<std::string>{"morlent vport"});
    ASSERT_EQ(f.spooler.addedPrinters.size(), 1u);
    const ISpooler::PrinterRecord& p = f.spooler.addedPrinters[0];
    EXPECT_EQ(p.printerName, "Morlent虚拟打印机");
    EXPECT_EQ(p.portName, "morlent vport");
    EXPECT_EQ(p.driverName, "morlent virtual printer");
    EXPECT_EQ(p.printProcessor, "winprint");
    EXPECT_EQ(p.dataType, "RAW");
    EXPECT_TRUE(f.spooler.messages.empty());
}

TEST(WendraSetup, InstallingTwiceKeepsDriverAndPortAndReplacesThePrinter)
{
    SetupFixture f;
    ASSERT_EQ(f.setup.Install(), 1);
    f.spooler.calls.clear();
    ASSERT_EQ(f.setup.Install(), 1);
    EXPECT_EQ(f.spooler.calls,
              (std::vector<std::string>{"EnumDrivers", "EnumPrinters", "DeletePrinter", "EnumPorts",
                                        "AddPrinter"}));
    EXPECT_EQ(f.spooler.addedDrivers.size(), 1u);
    EXPECT_EQ(f.spooler.printers.size(), 1u);
    EXPECT_EQ(f.spooler.ports.size(), 1u);
}

TEST(WendraSetup, EachFailingStepGivesItsCode)
{
    struct Case
    {
        const char* what;
        void (*arrange)(FakeSpooler&);
        int code;
        bool printerAdded;
    } cases[] = {
        {"enum drivers", [](FakeSpooler& s) { s.failEnumDrivers = true; }, -102, false},
        {"add driver", [](FakeSpooler& s) { s.failAddDriver = true; }, -103, false},
        {"enum printers", [](FakeSpooler& s) { s.failEnumPrinters = true; }, -104, false},
        {"add printer", [](FakeSpooler& s) { s.failAddPrinter = true; }, -105, false},
        {"delete printer",
         [](FakeSpooler& s) {
             s.printers = {"morlent虚拟打印机"}; // found regardless of case
             s.deleteResult = ISpooler::DELETE_FAILED;
         },
         -106, false},
        {"port monitor", [](FakeSpooler& s) { s.failAddPort = true; }, -107, false},
        {"printer cannot be opened",
         [](FakeSpooler& s) {
             s.printers = {"Morlent虚拟打印机"};
             s.deleteResult = ISpooler::OPEN_FAILED;
         },
         1, false},
        {"driver already there", [](FakeSpooler& s) { s.drivers = {"MORLENT VIRTUAL PRINTER"}; }, 1,
         true},
    };
    for (const Case& c : cases) {
        SetupFixture f;
        c.arrange(f.spooler);
        EXPECT_EQ(f.setup.Install(), c.code) << c.what;
        EXPECT_EQ(!f.spooler.addedPrinters.empty(), c.printerAdded) << c.what;
        if (c.code == -107) {
            ASSERT_EQ(f.spooler.messages.size(), 1u);
            EXPECT_EQ(f.spooler.messages[0].first, "error:OpenPrinter Local Port");
            EXPECT_EQ(f.spooler.messages[0].second, "AddPrintPort");
        } else {
            EXPECT_TRUE(f.spooler.messages.empty()) << c.what;
        }
    }
}

TEST(WendraSetup, UninstallRemovesWhatIsThereAndAlwaysSucceeds)
{
    SetupFixture f;
    EXPECT_EQ(f.setup.UnInstall(), 1);
    EXPECT_EQ(f.spooler.calls,
              (std::vector<std::string>{"EnumPrinters", "EnumDrivers", "EnumPorts"}));

    ASSERT_EQ(f.setup.Install(), 1);
    f.spooler.calls.clear();
    EXPECT_EQ(f.setup.UnInstall(), 1);
    EXPECT_TRUE(f.spooler.printers.empty());
    EXPECT_TRUE(f.spooler.drivers.empty());
    EXPECT_TRUE(f.spooler.ports.empty());
    EXPECT_NE(
        std::find(f.spooler.calls.begin(), f.spooler.calls.end(), "DeleteDriver Windows NT x86"),
        f.spooler.calls.end());
}
