#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "CDefaultPrinter.h"

namespace {

// A spooler with one printer, recording what is asked of it.
class FakePrinters : public IPrinterPlatform
{
public:
    DWORD platformId = VER_PLATFORM_WIN32_NT;
    bool versionWorks = true;
    bool openWorks = true;
    bool infoWorks = true;
    bool setWorks = true;
    bool profileWorks = true;
    std::vector<std::string> calls;
    DWORD setAttributes = 0;
    std::string profile;
    bool broadcast = false;
    std::string broadcastSection;

    bool GetVersion(OSVERSIONINFOA* version) override
    {
        version->dwPlatformId = platformId;
        version->dwMajorVersion = 5;
        return versionWorks;
    }
    bool Open(const char* name, HANDLE* printer) override
    {
        calls.push_back(std::string("open ") + name);
        *printer = openWorks ? reinterpret_cast<HANDLE>(0x1234) : nullptr;
        return openWorks;
    }
    bool ReadInfo(HANDLE, DWORD level, BYTE* block, DWORD size, DWORD* needed) override
    {
        const DWORD full = sizeof(PRINTER_INFO_2A) + 64;
        *needed = full;
        if (!infoWorks || level != 2 || !block || size < full)
            return false;
        for (DWORD i = 0; i < size; ++i)
            if (block[i] != 0)
                return false; // the caller hands a zero-filled block
        PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(block);
        char* texts = reinterpret_cast<char*>(block + sizeof(PRINTER_INFO_2A));
        strcpy(texts, "Wendra");
        strcpy(texts + 16, "Wendra Driver");
        strcpy(texts + 40, "WENDRA:");
        info->pPrinterName = texts;
        info->pDriverName = texts + 16;
        info->pPortName = texts + 40;
        info->Attributes = PRINTER_ATTRIBUTE_LOCAL;
        return true;
    }
    bool WriteInfo(HANDLE, DWORD level, BYTE* block) override
    {
        calls.push_back("set " + std::to_string(level));
        setAttributes = reinterpret_cast<PRINTER_INFO_2A*>(block)->Attributes;
        return setWorks;
    }
    void Close(HANDLE) override { calls.push_back("close"); }
    bool WriteProfile(const char* section, const char* key, const char* value) override
    {
        profile = std::string(section) + "/" + key + "=" + value;
        return profileWorks;
    }
    void BroadcastSettingChange(const char* section) override
    {
        broadcast = true;
        broadcastSection = section ? section : "<none>";
    }
};

} // namespace

TEST(DefaultPrinter, NtFamilyNamesThePrinterInTheProfilesDeviceEntry)
{
    FakePrinters p;
    int done = 7;
    EXPECT_EQ(CDefaultPrinter::Switch("Wendra", &done, p), 1);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(p.profile, "windows/device=Wendra,Wendra Driver,WENDRA:");
    EXPECT_EQ(p.calls, (std::vector<std::string>{"open Wendra", "close"})) << "no attribute is set";
    EXPECT_TRUE(p.broadcast);
    EXPECT_EQ(p.broadcastSection, "<none>");
}

TEST(DefaultPrinter, NineXFamilySetsTheDefaultAttribute)
{
    FakePrinters p;
    p.platformId = VER_PLATFORM_WIN32_WINDOWS;
    int done = 0;
    EXPECT_EQ(CDefaultPrinter::Switch("Wendra", &done, p), 1);
    EXPECT_EQ(done, 1);
    EXPECT_EQ(p.setAttributes,
              static_cast<DWORD>(PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_DEFAULT));
    EXPECT_EQ(p.calls, (std::vector<std::string>{"open Wendra", "set 2", "close"}));
    EXPECT_TRUE(p.profile.empty());
    EXPECT_EQ(p.broadcastSection, "windows");
}

TEST(DefaultPrinter, EveryFailureIsReportedClosesThePrinterAndTellsNoWindow)
{
    struct Case
    {
        const char* what;
        void (*spoil)(FakePrinters&);
        bool opened;
    } cases[] = {
        {"platform not read", [](FakePrinters& p) { p.versionWorks = false; }, false},
        {"another platform", [](FakePrinters& p) { p.platformId = VER_PLATFORM_WIN32s; }, false},
        {"printer not opened", [](FakePrinters& p) { p.openWorks = false; }, false},
        {"information not read", [](FakePrinters& p) { p.infoWorks = false; }, true},
        {"profile not written", [](FakePrinters& p) { p.profileWorks = false; }, true},
        {"attribute not set",
         [](FakePrinters& p) {
             p.platformId = VER_PLATFORM_WIN32_WINDOWS;
             p.setWorks = false;
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePrinters p;
        c.spoil(p);
        int done = 7;
        EXPECT_EQ(CDefaultPrinter::Switch("Wendra", &done, p), 0);
        EXPECT_EQ(done, 0);
        EXPECT_FALSE(p.broadcast);
        const bool closed = !p.calls.empty() && p.calls.back() == "close";
        EXPECT_EQ(closed, c.opened);
    }
    FakePrinters p;
    int done = 7;
    EXPECT_EQ(CDefaultPrinter::Switch(nullptr, &done, p), 0);
    EXPECT_EQ(done, 0);
}
