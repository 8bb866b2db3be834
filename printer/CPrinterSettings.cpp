#include "CPrinterSettings.h"

#include <windows.h>

namespace {
const char kSection[] = "Wendar";
const char kDefaultAutoExec[] = "C:\\myAutoExec.exe";
} // namespace

CPrinterSettings::CPrinterSettings(const std::string& path) : m_path(path) {}

bool CPrinterSettings::WriteDefaults() const
{
    static const char* const kDefaults[][2] = {
        {"OutPath", "C:\\Temp"},           {"OutFileName", "YourFile"}, {"OutExtName", "bmp"},
        {"OutAutoExec", kDefaultAutoExec}, {"OutColor", "0"},           {"OutFormat", "0"},
    };
    bool ok = true;
    for (const auto& entry : kDefaults)
        ok = WritePrivateProfileStringA(kSection, entry[0], entry[1], m_path.c_str()) && ok;
    return ok;
}

std::string CPrinterSettings::ReadAutoExec() const
{
    char value[1024] = {};
    GetPrivateProfileStringA(kSection, "OutAutoExec", kDefaultAutoExec, value, sizeof value,
                             m_path.c_str());
    value[sizeof value - 1] = '\0';
    return value;
}
