#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "CCrashReport.h"

TEST(CrashReport, ReportPathReplacesOnlyTheExtension)
{
    struct Case
    {
        const char* program;
        const char* report;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Halvern\\Halvern.exe", "C:\\Program Files\\Halvern\\Halvern.RPT"},
        {"C:\\v1.2\\client.exe", "C:\\v1.2\\client.RPT"},
        {"C:\\a.b\\noext", nullptr},
        {"C:\\dir\\short.ex", nullptr},
        {"C:\\dir\\long.name.binary", "C:\\dir\\long.name.RPT"},
    };
    for (const Case& c : cases) {
        char out[MAX_PATH];
        bool made = CCrashReport::MakeReportPath(c.program, out, sizeof out);
        if (c.report) {
            ASSERT_TRUE(made) << c.program;
            EXPECT_STREQ(out, c.report);
        } else {
            EXPECT_FALSE(made) << c.program;
        }
    }
}

TEST(CrashReport, NamesKnownCodesAndAsksTheSystemForOthers)
{
    EXPECT_STREQ(CCrashReport::ExceptionName(EXCEPTION_ACCESS_VIOLATION), "ACCESS_VIOLATION");
    EXPECT_STREQ(CCrashReport::ExceptionName(EXCEPTION_INVALID_HANDLE), "INVALID_HANDLE");
    // Unknown codes take the system's message text as one line of the
    // report: no line break of its own, and nothing left from an earlier
    // look-up when the system has no text for a code.
    std::string known = CCrashReport::ExceptionName(0xC0000017);
    EXPECT_EQ(known.find_first_of("\r\n"), std::string::npos) << known;
    EXPECT_STREQ(CCrashReport::ExceptionName(0xE0DEAD01), "");
}

namespace {

int RunProbe(const std::string& exe, const char* arg)
{
    std::string command = "\"" + exe + "\" " + arg;
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &pi))
        return -1;
    WaitForSingleObject(pi.hProcess, 30000);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return static_cast<int>(code);
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

} // namespace

TEST(CrashReport, FaultingProgramAppendsReportsBesideItself)
{
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    std::string dir = std::string(temp) + "crash.dir";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string exe = dir + "\\probe.exe";
    std::string report = dir + "\\probe.RPT";
    DeleteFileA(report.c_str());
    ASSERT_TRUE(CopyFileA("crash_probe.exe", exe.c_str(), FALSE));

    EXPECT_NE(RunProbe(exe, "access"), 0);
    std::string first = ReadAll(report);
    ASSERT_FALSE(first.empty()) << "no report was written";
    EXPECT_EQ(first.rfind("//=====================================================\r\n", 0), 0u);
    // Under user-mode emulation the emulator, not the processor, reports the
    // bad write, and Wine then sees an illegal instruction.
    const char* faultLine = getenv("HALVERN_EMULATED")
                                ? "Exception code: C000001D ILLEGAL_INSTRUCTION\r\n"
                                : "Exception code: C0000005 ACCESS_VIOLATION\r\n";
    EXPECT_NE(first.find(faultLine), std::string::npos) << first;
    EXPECT_NE(first.find("Fault address:  "), std::string::npos);
    EXPECT_NE(first.find("probe.exe"), std::string::npos);
    EXPECT_NE(first.find("\r\nRegisters:\r\nEAX:"), std::string::npos);
    EXPECT_NE(first.find("Address   Frame     Logical addr  Module\r\n"), std::string::npos);
    EXPECT_NE(first.find("年"), std::string::npos);

    EXPECT_NE(RunProbe(exe, "custom"), 0);
    std::string both = ReadAll(report);
    EXPECT_EQ(both.compare(0, first.size(), first), 0) << "a second report is appended";
    size_t custom = both.find("Exception code: C0000017", first.size());
    ASSERT_NE(custom, std::string::npos);
    EXPECT_EQ(both.compare(both.find("\r\n", custom), 2 + 16, "\r\nFault address:  "), 0)
        << "the system's text stays on the exception line";

    DeleteFileA(report.c_str());
    DeleteFileA(exe.c_str());
    RemoveDirectoryA(dir.c_str());
}
