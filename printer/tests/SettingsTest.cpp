#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "CPrinterSettings.h"
#include "TestImages.h"

TEST(WendraSettings, InstallWritesTheSixDefaultsInSectionWendar)
{
    std::string path = TestImages::ScratchFolder("ini") + "Wendra.ini";
    CPrinterSettings settings(path);
    ASSERT_TRUE(settings.WriteDefaults());
    struct
    {
        const char* key;
        const char* value;
    } expected[] = {
        {"OutPath", "C:\\Temp"}, {"OutFileName", "YourFile"},
        {"OutExtName", "bmp"},   {"OutAutoExec", "C:\\myAutoExec.exe"},
        {"OutColor", "0"},       {"OutFormat", "0"},
    };
    for (const auto& e : expected) {
        char value[256] = {};
        GetPrivateProfileStringA("Wendar", e.key, "<missing>", value, sizeof value, path.c_str());
        EXPECT_STREQ(value, e.value) << e.key;
    }
    std::vector<uint8_t> bytes = TestImages::ReadAll(path);
    EXPECT_NE(std::string(bytes.begin(), bytes.end()).find("[Wendar]"), std::string::npos);
}

TEST(WendraSettings, AutoExecFallsBackToTheDefaultAndIsBounded)
{
    std::string folder = TestImages::ScratchFolder("ini");
    EXPECT_EQ(CPrinterSettings(folder + "absent.ini").ReadAutoExec(), "C:\\myAutoExec.exe");

    std::string path = folder + "long.ini";
    std::string longValue(2000, 'x');
    WritePrivateProfileStringA("Wendar", "OutAutoExec", longValue.c_str(), path.c_str());
    EXPECT_EQ(CPrinterSettings(path).ReadAutoExec(), std::string(1023, 'x'));

    WritePrivateProfileStringA("Wendar", "OutAutoExec", "D:\\after.exe", path.c_str());
    EXPECT_EQ(CPrinterSettings(path).ReadAutoExec(), "D:\\after.exe");
}
