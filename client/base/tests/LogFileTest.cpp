#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "CLogFile.h"

namespace {

std::string TempPath(const char* name)
{
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    return std::string(dir) + name;
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

int CountStamps(const std::string& text)
{
    // A stamp line is 24 characters of ctime text followed by CR LF.
    int count = 0;
    size_t pos = 0;
    while ((pos = text.find("\r\n", pos)) != std::string::npos) {
        size_t start = text.rfind('\n', pos - 1);
        start = start == std::string::npos ? 0 : start + 1;
        if (pos - start == 24)
            ++count;
        pos += 2;
    }
    return count;
}

} // namespace

TEST(LogFile, RotatesThePreviousFileAndStartsEmpty)
{
    std::string path = TempPath("halvern_rotate.log");
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".bak").c_str());
    {
        std::ofstream(path + ".bak") << "oldest";
    }
    {
        std::ofstream(path) << "previous run";
    }

    {
        CLogFile log(CLogFile::LOG_FILE, 0, path.c_str(), 0);
        EXPECT_TRUE(log.IsFileOpen());
        log.Write(0, "first %d\n", 1);
    }
    EXPECT_EQ(ReadAll(path + ".bak"), "previous run") << "the older .bak is replaced";
    std::string text = ReadAll(path);
    EXPECT_NE(text.find("first 1\n"), std::string::npos);
    EXPECT_EQ(text.find("previous run"), std::string::npos);

    {
        CLogFile log(CLogFile::LOG_FILE, 0, path.c_str(), 1);
        log.Write(0, "appended\n");
    }
    text = ReadAll(path);
    EXPECT_NE(text.find("first 1\n"), std::string::npos) << "appending keeps the file";
    EXPECT_NE(text.find("appended\n"), std::string::npos);
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".bak").c_str());
}

TEST(LogFile, LevelFilterStampsAndLongLines)
{
    std::string path = TempPath("halvern_level.log");
    {
        CLogFile log(CLogFile::LOG_FILE, 0, path.c_str(), 0);
        log.Write(1, "suppressed\n");
        EXPECT_EQ(ReadAll(path), "") << "a filtered line writes not even a stamp";

        log.Write(0, "a\n");
        log.Write(0, "b\n");
        std::string text = ReadAll(path);
        int stamps = CountStamps(text);
        EXPECT_GE(stamps, 1);
        EXPECT_LE(stamps, 2) << "one stamp per new second";

        Sleep(1100);
        log.Write(0, "c\n");
        EXPECT_EQ(CountStamps(ReadAll(path)), stamps + 1);

        std::string huge(2000, 'z');
        log.Write(0, "%s", huge.c_str());
        text = ReadAll(path);
        size_t start = text.find('z');
        ASSERT_NE(start, std::string::npos);
        EXPECT_EQ(text.size() - start, 1022u);
    }
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".bak").c_str());
}

TEST(LogFile, FlagsOpenAndCloseTheFile)
{
    std::string path = TempPath("halvern_flags.log");
    CLogFile log(CLogFile::LOG_DEBUGGER, 0, nullptr, 0);
    EXPECT_FALSE(log.IsFileOpen());
    log.SetFile(path.c_str(), 0);
    EXPECT_FALSE(log.IsFileOpen()) << "no file while flag 2 is off";
    log.SetFlags(CLogFile::LOG_FILE);
    EXPECT_TRUE(log.IsFileOpen());
    log.SetFlags(CLogFile::LOG_DEBUGGER);
    EXPECT_FALSE(log.IsFileOpen());

    CLogFile bad(CLogFile::LOG_FILE, 0, "Z:\\no\\such\\folder\\x.log", 0);
    EXPECT_FALSE(bad.IsFileOpen());
    EXPECT_TRUE(bad.GetFlags() & CLogFile::LOG_FILE);
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".bak").c_str());
}

TEST(LogFile, LinesFromManyThreadsStayWhole)
{
    std::string path = TempPath("halvern_threads.log");
    {
        CLogFile log(CLogFile::LOG_FILE, 0, path.c_str(), 0);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&log, t] {
                for (int i = 0; i < 200; ++i)
                    log.Write(0, "thread %d line %03d end\n", t, i);
            });
        for (auto& t : threads)
            t.join();
    }
    std::istringstream lines(ReadAll(path));
    std::string line;
    int whole = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("thread ", 0) == 0) {
            EXPECT_EQ(line.size(), strlen("thread 0 line 000 end")) << line;
            ++whole;
        }
    }
    EXPECT_EQ(whole, 800);
    DeleteFileA(path.c_str());
    DeleteFileA((path + ".bak").c_str());
}

TEST(LogFile, NoLineIsLostWhileTheFileChanges)
{
    std::string paths[2] = {TempPath("halvern_switch_a.log"), TempPath("halvern_switch_b.log")};
    for (const std::string& p : paths)
        DeleteFileA(p.c_str());
    int written = 0;
    {
        CLogFile log(CLogFile::LOG_FILE, 0, paths[0].c_str(), 1);
        volatile bool done = false;
        std::thread writer([&] {
            while (!done)
                log.Write(0, "line %d\n", written++);
        });
        for (int i = 0; i < 200; ++i)
            log.SetFile(paths[(i + 1) % 2].c_str(), 1);
        done = true;
        writer.join();
    }
    int found = 0;
    for (const std::string& p : paths) {
        std::istringstream lines(ReadAll(p));
        std::string line;
        while (std::getline(lines, line))
            found += line.rfind("line ", 0) == 0 ? 1 : 0;
        DeleteFileA(p.c_str());
    }
    EXPECT_EQ(found, written);
}
