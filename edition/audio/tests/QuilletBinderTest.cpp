#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "CMediaBinder.h"
#include "CQuilletBinder.h"

namespace {

// Records what the binder asks for and fails on request.
class RecordingLoader : public ILibraryLoader
{
public:
    HMODULE Load(const char* path) override
    {
        loads.push_back(path);
        if (path == failLoad)
            return nullptr;
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
    std::string failLoad;
};

} // namespace

TEST(QuilletBinder, BindsTheNinetyEightNamesInOrderFromTheirLibraries)
{
    RecordingLoader fake;
    RAVOTM_FUNCTIONS ravotm;
    MEDIA_FUNCTIONS media = {};
    CQuilletBinder binder(&fake);
    ASSERT_TRUE(binder.Bind("X:\\lib\\", &ravotm, &media)) << binder.GetFailure();
    EXPECT_EQ(fake.loads, (std::vector<std::string>{"X:\\lib\\RavoTM.dll", "X:\\lib\\Dravom.dll",
                                                    "X:\\lib\\Caskel.dll"}));
    ASSERT_EQ(fake.resolved.size(), 98u);
    int perLibrary[4] = {};
    for (const auto& r : fake.resolved)
        perLibrary[r.first]++;
    EXPECT_EQ(perLibrary[1], 30);
    EXPECT_EQ(perLibrary[2], 32);
    EXPECT_EQ(perLibrary[3], 36);
    EXPECT_EQ(fake.resolved[0].second, "D_G_GetCapDevices");
    EXPECT_EQ(fake.resolved[18].second, "D_G_SetRecord");
    EXPECT_EQ(fake.resolved[29].second, "D_G_GetNetState");
    EXPECT_EQ(fake.resolved[30].second, "T_TAKEDevices");
    EXPECT_EQ(fake.resolved[62].second, "RV_StartRecord");
    EXPECT_EQ(fake.resolved[97].second, "PV_StopConvert");
    EXPECT_NE(ravotm.D_G_GetNetState, nullptr);
    EXPECT_NE(media.entries[MF_PV_StopConvert], nullptr);
    for (int i = 0; i < MF_T_TAKEDevices; ++i)
        EXPECT_EQ(media.entries[i], nullptr)
            << "audio manager place " << CMediaBinder::GetExportName(i);
}

TEST(QuilletBinder, FirstMissingNameOrLibraryEndsTheBinding)
{
    struct Case
    {
        const char* what;
        const char* failAt;
        const char* failLoad;
        const char* failure;
        size_t resolved;
    } cases[] = {
        {"a D_G_ name", "D_G_SetAGC", "", "RavoTM.dll: D_G_SetAGC", 11},
        {"the last D_G_ name", "D_G_GetNetState", "", "RavoTM.dll: D_G_GetNetState", 30},
        {"a player name", "PV_Pause", "", "Caskel.dll: PV_Pause", 30 + 32 + 23 + 7},
        {"the video library", "", "X:\\Dravom.dll", "X:\\Dravom.dll", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingLoader fake;
        fake.failAt = c.failAt;
        fake.failLoad = c.failLoad;
        RAVOTM_FUNCTIONS ravotm;
        MEDIA_FUNCTIONS media = {};
        CQuilletBinder binder(&fake);
        EXPECT_FALSE(binder.Bind("X:\\", &ravotm, &media));
        EXPECT_EQ(binder.GetFailure(), c.failure);
        EXPECT_EQ(fake.resolved.size(), c.resolved);
    }
}
