#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CCommandLine.h"
#include "CLogFile.h"

using Args = std::vector<std::string>;

TEST(CommandLineTest, SplitsPlainAndQuotedArguments)
{
    struct Case
    {
        const char* line;
        Args args;
    } cases[] = {
        {"C:\\p\\Halvern.exe 1.2.3.4 room 7 user pw",
         {"C:\\p\\Halvern.exe", "1.2.3.4", "room", "7", "user", "pw"}},
        {"\"C:\\Program Files\\Halvern\\Halvern.exe\" \"1.2.3.4\" \"big room\" \"7\"",
         {"C:\\Program Files\\Halvern\\Halvern.exe", "1.2.3.4", "big room", "7"}},
        {"p  a\t\tb  ", {"p", "a", "b"}},
        {"p \"\" x", {"p", "", "x"}},
        {"p a\\\"b c\\\\\"d e\" f\\\\g", {"p", "a\"b", "c\\d e", "f\\\\g"}},
        {"p \"say \"\"hi\"\"\"", {"p", "say \"hi\""}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CCommandLine::Split(c.line), c.args) << c.line;
}

TEST(CommandLineTest, QuotedArgumentsComeBackUnchanged)
{
    // "淺" ends in the byte of a backslash in code page 936.
    const char* values[] = {"plain",     "two words", "",        "a\"b", "ends in \\",
                            "C:\\dir\\", "\\\"",      "会议 室", "淺",   "淺 \"x\" 淺"};
    std::string line = "\"C:\\Program Files\\Halvern\\Halvern.exe\"";
    for (const char* v : values)
        line += " " + CCommandLine::Quote(v);
    Args args = CCommandLine::Split(line.c_str());
    ASSERT_EQ(args.size(), 1 + sizeof values / sizeof values[0]);
    for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i)
        EXPECT_EQ(args[i + 1], values[i]);
}

TEST(CommandLineTest, LoginLineRoundTripsThroughParse)
{
    LOGIN_INFO info = {};
    strcpy(info.serverAddress, "10.1.2.3");
    strcpy(info.roomName, "第一 会议室");
    info.roomId = 42;
    strcpy(info.userName, "Ann Lee");
    strcpy(info.password, "p w\"\\");
    std::string line =
        CCommandLine::BuildLoginLine("C:\\Program Files\\Halvern\\Halvern.exe", info);
    LOGIN_INFO parsed = {};
    parsed.loginMode = 9;
    ASSERT_TRUE(CCommandLine::ParseLogin(CCommandLine::Split(line.c_str()), &parsed, nullptr));
    EXPECT_STREQ(parsed.serverAddress, info.serverAddress);
    EXPECT_STREQ(parsed.roomName, info.roomName);
    EXPECT_EQ(parsed.roomId, 42u);
    EXPECT_STREQ(parsed.userName, info.userName);
    EXPECT_STREQ(parsed.password, info.password);
    // The restart line carries no login mode: the new instance logs in with mode 0.
    EXPECT_EQ(parsed.loginMode, 0u);
}

TEST(CommandLineTest, ParseTakesShortAndLongFormsAndCutsFields)
{
    LOGIN_INFO info = {};
    // Four arguments after the program: the dialogs are used, nothing changes.
    EXPECT_FALSE(CCommandLine::ParseLogin({"p", "1.1.1.1", "r", "3", "u"}, &info, nullptr));
    EXPECT_STREQ(info.serverAddress, "");

    ASSERT_TRUE(
        CCommandLine::ParseLogin({"p", "1.1.1.1", "r", "3", "u", "pw", "1"}, &info, nullptr));
    EXPECT_EQ(info.loginMode, 1u);
    ASSERT_TRUE(CCommandLine::ParseLogin({"p", "1.1.1.1", "r", "3", "u", "pw"}, &info, nullptr));
    EXPECT_EQ(info.loginMode, 0u);
    EXPECT_EQ(info.roomId, 3u);

    std::string longText(40, 'x');
    ASSERT_TRUE(CCommandLine::ParseLogin({"p", longText, longText, "12", longText, longText}, &info,
                                         nullptr));
    EXPECT_EQ(strlen(info.serverAddress), 15u);
    EXPECT_EQ(strlen(info.roomName), 23u);
    EXPECT_EQ(strlen(info.userName), 20u);
    EXPECT_EQ(strlen(info.password), 18u);

    // A double-byte character that would be cut in half is left out whole.
    std::string chinese = "x会议室会议室会议室会议室会议室"; // 1 + 30 bytes
    ASSERT_TRUE(CCommandLine::ParseLogin({"p", "a", chinese, "1", "u", "p"}, &info, nullptr));
    EXPECT_EQ(std::string(info.roomName), chinese.substr(0, 23));
    ASSERT_TRUE(CCommandLine::ParseLogin({"p", "a", "r", "1", chinese, "p"}, &info, nullptr));
    EXPECT_EQ(std::string(info.userName), chinese.substr(0, 19));
}

TEST(CommandLineTest, ParseLogsTheArgumentsOrTheRefusal)
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string path =
        std::string(temp) + "cmdline_" + std::to_string(GetCurrentProcessId()) + ".log";
    {
        CLogFile log(CLogFile::LOG_FILE, 0, path.c_str(), 0);
        LOGIN_INFO info = {};
        CCommandLine::ParseLogin({"p", "a"}, &info, &log);
        CCommandLine::ParseLogin({"p", "a", "b", "1", "c", "d"}, &info, &log);
    }
    FILE* f = fopen(path.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char text[512] = {};
    fread(text, 1, sizeof text - 1, f);
    fclose(f);
    DeleteFileA(path.c_str());
    EXPECT_NE(strstr(text, "Bad command params\n"), nullptr) << text;
    EXPECT_NE(strstr(text, "Command Line Params Count = 6 p a b 1 c d\n"), nullptr) << text;
}
