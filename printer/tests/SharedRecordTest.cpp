#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "CSharedMemory.h"
#include "CSharedRecord.h"

namespace {
uint32_t U32At(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
std::string TextAt(const std::vector<uint8_t>& b, size_t at)
{
    return std::string(reinterpret_cast<const char*>(&b[at]));
}
DWORD WINAPI TryLock(void* memory) { return static_cast<CSharedMemory*>(memory)->Lock(50) ? 1 : 0; }
std::string UniqueName(const char* tag)
{
    static int n = 0;
    return std::string("WendraTest_") + tag + "_" + std::to_string(GetCurrentProcessId()) + "_" +
           std::to_string(++n);
}
} // namespace

TEST(WendraRecord, InitAndJobFieldsLandAtTheirOffsets)
{
    std::vector<uint8_t> view(3228, 0xCC);
    ASSERT_TRUE(CSharedRecord::Reset(view.data(), view.size(), "D:\\Out"));
    EXPECT_EQ(TextAt(view, 0), "MorlentVirtualPrinter");
    EXPECT_EQ(TextAt(view, 128), "D:\\Out");
    // Zeros everywhere past the tag and the folder.
    for (size_t i = 0; i < view.size(); ++i) {
        if (i < 21 || (i >= 128 && i < 134))
            continue;
        ASSERT_EQ(view[i], 0) << "byte " << i;
    }

    CSharedRecord::Job job;
    job.baseName = "Report";
    job.extension = "bmp";
    job.autoExec = "C:\\run.exe";
    job.colour = 0x11223344;
    job.format = 1;
    ASSERT_TRUE(CSharedRecord::SetProgress(view.data(), view.size(), 7, 9));
    ASSERT_TRUE(CSharedRecord::WriteJob(view.data(), view.size(), job));
    EXPECT_EQ(TextAt(view, 1152), "Report");
    EXPECT_EQ(TextAt(view, 2176), "bmp");
    EXPECT_EQ(TextAt(view, 2188), "C:\\run.exe");
    EXPECT_EQ(U32At(view, 3212), 0x11223344u);
    EXPECT_EQ(U32At(view, 3216), 1u);
    EXPECT_EQ(U32At(view, 3220), 0u); // pages reset
    EXPECT_EQ(U32At(view, 3224), 1u); // status handed over
    EXPECT_EQ(TextAt(view, 128), "D:\\Out");
}

TEST(WendraRecord, PageNamesFollowTheRecord)
{
    std::vector<uint8_t> view(3228, 0);
    ASSERT_TRUE(CSharedRecord::Reset(view.data(), view.size(), "C:\\Temp"));
    CSharedRecord::Job job;
    job.baseName = "Report";
    job.extension = "bmp";
    ASSERT_TRUE(CSharedRecord::WriteJob(view.data(), view.size(), job));
    QNT_SHARED_RECORD record;
    ASSERT_TRUE(CSharedRecord::Read(view.data(), view.size(), record));
    const char* expected[] = {"C:\\Temp\\Report1.bmp", "C:\\Temp\\Report2.bmp",
                              "C:\\Temp\\Report3.bmp"};
    for (uint32_t i = 1; i <= 3; ++i) {
        char name[MAX_PATH];
        ASSERT_TRUE(CSharedRecord::PageName(record, i, name, sizeof name));
        EXPECT_STREQ(name, expected[i - 1]);
    }
    char small[10];
    EXPECT_FALSE(CSharedRecord::PageName(record, 1, small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(WendraRecord, TextsThatDoNotFitAreRefusedAndShortViewsUntouched)
{
    std::vector<uint8_t> view(3228, 0);
    ASSERT_TRUE(CSharedRecord::Reset(view.data(), view.size(), "C:\\Out"));
    std::vector<uint8_t> before = view;

    EXPECT_FALSE(CSharedRecord::Reset(view.data(), view.size(), std::string(1024, 'a').c_str()));
    EXPECT_FALSE(CSharedRecord::Reset(view.data(), view.size(), nullptr));
    EXPECT_EQ(view, before);
    struct
    {
        std::string base, ext, exec;
        bool ok;
    } cases[] = {
        {std::string(1023, 'b'), "bmp", "x", true},  {std::string(1024, 'b'), "bmp", "x", false},
        {"r", std::string(11, 'e'), "x", true},      {"r", std::string(12, 'e'), "x", false},
        {"r", "bmp", std::string(1024, 'x'), false},
    };
    for (const auto& c : cases) {
        view = before;
        CSharedRecord::Job job;
        job.baseName = c.base;
        job.extension = c.ext;
        job.autoExec = c.exec;
        EXPECT_EQ(CSharedRecord::WriteJob(view.data(), view.size(), job), c.ok)
            << c.base.size() << "/" << c.ext;
        if (!c.ok) {
            EXPECT_EQ(view, before);
        }
    }

    // A view shorter than the record is never written.
    std::vector<uint8_t> shortView(3000, 0xAB);
    EXPECT_FALSE(CSharedRecord::Reset(shortView.data(), shortView.size(), "C:\\Out"));
    EXPECT_FALSE(CSharedRecord::SetProgress(shortView.data(), shortView.size(), 1, 2));
    EXPECT_EQ(shortView, std::vector<uint8_t>(3000, 0xAB));
}

TEST(WendraRecord, UnterminatedFieldsAreReadWithinTheirField)
{
    QNT_SHARED_RECORD record;
    memset(&record, 'A', sizeof record);
    EXPECT_EQ(CSharedRecord::Text(record.extension).size(), 12u);
    char name[MAX_PATH];
    EXPECT_FALSE(CSharedRecord::PageName(record, 1, name, sizeof name));
    std::vector<char> big(4096);
    ASSERT_TRUE(CSharedRecord::PageName(record, 1, big.data(), big.size()));
    EXPECT_EQ(strlen(big.data()), 1024u + 1 + 1024 + 1 + 1 + 12);
}

TEST(WendraSharedMemory, OpensAnExistingMappingAtItsOwnSize)
{
    struct
    {
        DWORD size;
    } cases[] = {{8192}, {100}};
    for (const auto& c : cases) {
        std::string name = UniqueName("existing");
        HANDLE mutex = CreateMutexA(nullptr, FALSE, (name + "_Mutex").c_str());
        HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                            c.size, name.c_str());
        ASSERT_TRUE(mutex && mapping);
        CSharedMemory memory;
        ASSERT_TRUE(memory.Open(name.c_str(), 3228));
        // The section's size, which the system may round up to whole pages.
        EXPECT_GE(memory.Size(), c.size);
        EXPECT_LT(memory.Size(), c.size + 4096);
        EXPECT_TRUE(memory.Open(name.c_str(), 3228)); // already open
        EXPECT_TRUE(memory.Lock(1000));
        memory.Unlock();
        memory.Close();
        EXPECT_EQ(memory.View(), nullptr);
        CloseHandle(mapping);
        CloseHandle(mutex);
    }
}

TEST(WendraSharedMemory, CreatedMappingIsSharedAndLockedAcrossHandles)
{
    std::string name = UniqueName("shared");
    CSharedMemory first, second;
    ASSERT_TRUE(first.Open(name.c_str(), 3228));
    EXPECT_EQ(first.Size(), 3228u);
    ASSERT_TRUE(second.Open(name.c_str(), 3228));
    EXPECT_GE(second.Size(), 3228u);
    static_cast<char*>(first.View())[3227] = 42;
    EXPECT_EQ(static_cast<char*>(second.View())[3227], 42);

    ASSERT_TRUE(first.Lock(1000));
    DWORD got = 0;
    HANDLE waiter = CreateThread(nullptr, 0, TryLock, &second, 0, nullptr);
    WaitForSingleObject(waiter, 5000);
    GetExitCodeThread(waiter, &got);
    CloseHandle(waiter);
    EXPECT_EQ(got, 0u); // held by the first handle
    first.Unlock();
    EXPECT_TRUE(second.Lock(1000));
    second.Unlock();
}
