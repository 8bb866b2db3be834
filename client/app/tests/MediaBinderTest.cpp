#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <utility>
#include <vector>

#include "CMediaBinder.h"
#include "CWin32LibraryLoader.h"

namespace {

std::string ProgramFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.rfind('\\') + 1);
}

// A folder of the three libraries made from the fake ones built beside the tests.
class MediaBinderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        folder = std::string(temp) + "binder_" + std::to_string(GetCurrentProcessId()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        CreateDirectoryA(folder.c_str(), nullptr);
    }

    void Place(const char* fake, const char* as)
    {
        std::string from = ProgramFolder() + "fakemedia\\" + fake;
        ASSERT_TRUE(CopyFileA(from.c_str(), (folder + as).c_str(), FALSE)) << from;
    }

    void PlaceAll(const char* caskel = "FakeCaskel.dll")
    {
        Place("FakeKadrel.dll", "Kadrel.dll");
        Place("FakeDravom.dll", "Dravom.dll");
        Place(caskel, "Caskel.dll");
    }

    std::string folder;
    MEDIA_FUNCTIONS table = {};
    CWin32LibraryLoader loader;
};

// Records what the binder asks for and fails on request.
class RecordingLoader : public ILibraryLoader
{
public:
    HMODULE Load(const char* path) override
    {
        loads.push_back(path);
        return reinterpret_cast<HMODULE>(static_cast<INT_PTR>(loads.size()));
    }
    FARPROC Resolve(HMODULE library, const char* name) override
    {
        resolved.emplace_back(static_cast<int>(reinterpret_cast<INT_PTR>(library)), name);
        return name == failAt ? nullptr : reinterpret_cast<FARPROC>(&RecordingLoader::Dummy);
    }
    static int Dummy() { return 0; }

    std::vector<std::string> loads;
    std::vector<std::pair<int, std::string>> resolved;
    std::string failAt;
};

} // namespace

TEST_F(MediaBinderTest, BindsEveryNameOfTheThreeLibraries)
{
    PlaceAll();
    CMediaBinder binder(&loader);
    ASSERT_TRUE(binder.Bind(folder, &table)) << binder.GetFailure();
    for (int i = 0; i < MEDIA_FUNCTION_COUNT; ++i)
        EXPECT_NE(table.entries[i], nullptr) << CMediaBinder::GetExportName(i);
    // Each pointer comes from its own library, the decorated names included.
    HMODULE kadrel = GetModuleHandleA((folder + "Kadrel.dll").c_str());
    HMODULE caskel = GetModuleHandleA((folder + "Caskel.dll").c_str());
    ASSERT_NE(kadrel, nullptr);
    EXPECT_EQ(table.entries[MF_AUDIO_MGR_Processer_GetParam],
              GetProcAddress(kadrel, "?AUDIO_MGR_Processer_GetParam@@YAHHPAX@Z"));
    EXPECT_EQ(table.entries[MF_PV_StopConvert], GetProcAddress(caskel, "PV_StopConvert"));
}

TEST_F(MediaBinderTest, MissingNameStopsWithTheNamesBeforeItBound)
{
    // A recorder library without the player's names, as shipped before the player.
    PlaceAll("FakeCaskelRecorderOnly.dll");
    CMediaBinder binder(&loader);
    EXPECT_FALSE(binder.Bind(folder, &table));
    EXPECT_EQ(binder.GetFailure(), "Caskel.dll: PV_StartPlay");
    EXPECT_NE(table.entries[MF_RV_DelAudio], nullptr);
    EXPECT_EQ(table.entries[MF_PV_StartPlay], nullptr);
    EXPECT_EQ(table.entries[MF_PV_StopConvert], nullptr);
}

TEST_F(MediaBinderTest, MissingLibraryResolvesNothing)
{
    Place("FakeKadrel.dll", "Kadrel.dll");
    Place("FakeCaskel.dll", "Caskel.dll");
    CMediaBinder binder(&loader);
    EXPECT_FALSE(binder.Bind(folder, &table));
    EXPECT_EQ(binder.GetFailure(), folder + "Dravom.dll");
    for (int i = 0; i < MEDIA_FUNCTION_COUNT; ++i)
        EXPECT_EQ(table.entries[i], nullptr);
}

TEST(MediaBinderOrder, ResolvesInTheFixedOrderFromTheRightLibrary)
{
    RecordingLoader fake;
    MEDIA_FUNCTIONS table = {};
    CMediaBinder binder(&fake);
    ASSERT_TRUE(binder.Bind("X:\\lib\\", &table));
    EXPECT_EQ(fake.loads, (std::vector<std::string>{"X:\\lib\\Kadrel.dll", "X:\\lib\\Dravom.dll",
                                                    "X:\\lib\\Caskel.dll"}));
    ASSERT_EQ(fake.resolved.size(), 99u);
    int perLibrary[4] = {};
    for (size_t i = 0; i < fake.resolved.size(); ++i) {
        perLibrary[fake.resolved[i].first]++;
        EXPECT_EQ(fake.resolved[i].second, CMediaBinder::GetExportName(static_cast<int>(i)));
    }
    EXPECT_EQ(perLibrary[1], 31);
    EXPECT_EQ(perLibrary[2], 32);
    EXPECT_EQ(perLibrary[3], 36);
    EXPECT_EQ(fake.resolved[0].second, "AUDIO_MGR_Init");
    EXPECT_EQ(fake.resolved[21].second, "?AUDIO_MGR_Processer_SetParam@@YAHHPAX@Z");
    EXPECT_EQ(fake.resolved[31].second, "T_TAKEDevices");
    EXPECT_EQ(fake.resolved[63].second, "RV_StartRecord");
    EXPECT_EQ(fake.resolved[86].second, "PV_StartPlay");

    // The first unresolved name ends the binding.
    fake.resolved.clear();
    fake.failAt = "T_S_StartSend";
    MEDIA_FUNCTIONS partial = {};
    EXPECT_FALSE(binder.Bind("X:\\lib\\", &partial));
    EXPECT_EQ(fake.resolved.back().second, "T_S_StartSend");
    EXPECT_NE(partial.entries[MF_T_S_StopPreview], nullptr);
    EXPECT_EQ(partial.entries[MF_T_S_StartSend], nullptr);
    EXPECT_EQ(partial.entries[MF_T_S_StopSend], nullptr);
}

TEST(MediaBinderFolder, IsTheSystemsCommonFilesFolder)
{
    char common[MAX_PATH] = {};
    ASSERT_TRUE(
        SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PROGRAM_FILES_COMMON, nullptr, 0, common)));
    EXPECT_EQ(CMediaBinder::GetDefaultFolder(), std::string(common) + "\\Tessaly\\");
}
