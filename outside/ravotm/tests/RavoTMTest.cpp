#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CKadrelProbe.h"
#include "CMeetingClock.h"
#include "CPeerProcess.h"
#include "CStringList.h"
#include "CTcpLink.h"
#include "RavoTMModule.h"
#include "StandInTestKit.h"

namespace {

const uint32_t kRoom = 2; // the free room: a speech request is granted at once

class RavoTMTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }

    void SetUp() override
    {
        CServerConfig config = StandInTestConfig();
        config.audioPort = 0;
        server.reset(new CStandInServer(config));
        ASSERT_TRUE(server->Start(0));
        ASSERT_NE(server->AudioRelay(), nullptr);
    }

    void TearDown() override
    {
        clients.clear();
        server.reset();
    }

    // Logs a speaker in to the free room and has his speech granted.
    uint32_t JoinSpeaker(const char* user, const char* password)
    {
        std::unique_ptr<StandInClient> client(new StandInClient());
        EXPECT_TRUE(client->Login(server->GetPort(), user, password, kRoom)) << client->text;
        uint32_t id = client->login.userId;
        EXPECT_TRUE(client->manager.SendSpeechRequest());
        std::vector<uint8_t> m;
        bool granted = false;
        while (!granted && client->WaitFor(CMD_SPEAK_STATE, m))
            granted = ReadU32(m, 4) == id && m[8] == 2;
        EXPECT_TRUE(granted) << user;
        clients.push_back(std::move(client));
        return id;
    }

    // Every participant in a process of its own (program: "ravotm_peer.exe"
    // or "kadrel_peer.exe"); once all of them are in, each measures the same
    // durationMs.
    std::vector<CKadrelProbe::Result> RunMeeting(const std::vector<std::string>& programs,
                                                 std::vector<CKadrelProbe::Plan> plans,
                                                 double durationMs)
    {
        static int meetings = 0;
        const std::string name = "RavoTMTestMeeting-" + std::to_string(GetCurrentProcessId()) +
                                 "-" + std::to_string(++meetings);
        CMeetingClock clock;
        EXPECT_TRUE(clock.Create(name));
        std::vector<std::unique_ptr<CPeerProcess>> peers;
        for (size_t i = 0; i < plans.size(); ++i) {
            plans[i].clock = name;
            peers.emplace_back(new CPeerProcess());
            EXPECT_TRUE(
                peers.back()->Start(programs[i] + " " + CKadrelProbe::FormatPlan(plans[i])));
        }
        const DWORD start = GetTickCount();
        while (clock.ReadyCount() < static_cast<long>(plans.size()) &&
               GetTickCount() - start < 40000)
            Sleep(20);
        EXPECT_EQ(clock.ReadyCount(), static_cast<long>(plans.size()))
            << "not every participant came";
        // A little time for the jitter buffers to fill.
        const double from = CKadrelProbe::NowMs() + 500;
        clock.Publish(from, from + durationMs);
        std::vector<CKadrelProbe::Result> results(plans.size());
        for (size_t i = 0; i < plans.size(); ++i) {
            EXPECT_TRUE(peers[i]->Wait(40000)) << programs[i] << " did not end";
            EXPECT_TRUE(CKadrelProbe::ParseResult(peers[i]->Output(), &results[i]))
                << programs[i] << ": " << peers[i]->Output();
        }
        return results;
    }

    CKadrelProbe::Plan Plan(uint32_t user, double hz, const std::vector<uint32_t>& sources)
    {
        CKadrelProbe::Plan plan;
        plan.audioPort = server->Config().audioPort;
        plan.room = kRoom;
        plan.user = user;
        plan.toneHz = hz;
        plan.amplitude = 8000;
        plan.sources = sources;
        plan.probes = {440, 1000};
        return plan;
    }

    std::unique_ptr<CStandInServer> server;
    std::vector<std::unique_ptr<StandInClient>> clients;
};

std::vector<std::string> Names(CStringList& list)
{
    std::vector<std::string> names;
    for (POSITION p = list.GetHeadPosition(); p;)
        names.push_back(static_cast<LPCSTR>(list.GetNext(p)));
    return names;
}

} // namespace

TEST_F(RavoTMTest, ListsSettersAndBadCallsInTheClientsProcess)
{
    SetEnvironmentVariableA("KADREL_TEST_TONE", "440,8000");
    static RavoTMModule library;
    ASSERT_TRUE(library.module || library.Load());
    ASSERT_EQ(library.missing, 0);
    RavoTMModule& r = library;

    // Lists in index order, appended to what the caller's list holds.
    CStringList capture(10), play(10), formats(10);
    EXPECT_EQ(r.D_G_GetCapDevices(&capture), 1);
    EXPECT_EQ(r.D_G_GetPlayDevices(&play), 1);
    const int formatCount = r.D_G_GetCapFormats(&formats);
    ASSERT_GE(formatCount, 1);
    EXPECT_EQ(static_cast<int>(Names(formats).size()), formatCount);
    EXPECT_FALSE(Names(capture)[0].empty());
    EXPECT_EQ(r.D_G_GetCapDevices(&capture), 1);
    EXPECT_EQ(capture.GetCount(), 2) << "the caller empties its list";

    EXPECT_GE(r.D_G_GetFECTypeCount(), 2);
    struct Case
    {
        const char* what;
        int result;
        int expected;
    } cases[] = {
        {"capture in a format past the list", r.D_G_StartCapture(0, formatCount), 0},
        {"capture on a device past the list", r.D_G_StartCapture(3, 0), 0},
        {"capture in the first format, high bits ignored", r.D_G_StartCapture(0, 0x100), 1},
        {"capture again after a stop", (r.D_G_StopCapture(), r.D_G_StartCapture(0, 0)), 1},
        {"record into no callback", r.D_G_SetRecord(1, nullptr, nullptr), 0},
        {"record off", r.D_G_SetRecord(0, nullptr, nullptr), 1},
        {"lists into no list", r.D_G_GetCapFormats(nullptr), 0},
        {"connect to no server", r.D_G_Connect(kRoom, 1001, nullptr, 7100), 0},
        {"connect as no participant",
         r.D_G_Connect(kRoom, 4242, "127.0.0.1", server->Config().audioPort), 0},
        {"net state without a connection", r.D_G_GetNetState(), 0},
        {"noise suppression beyond the strongest", r.D_G_SetDeNoise(9), 1},
        {"manual FEC level past the count", r.D_G_SetFECType(99, 0), 0},
        {"automatic FEC ignores the level", r.D_G_SetFECType(99, 1), 1},
        {"gain control on", r.D_G_SetAGC(1), 1},
        {"start playback", r.D_G_StartPlay(0), 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.result, c.expected) << c.what;
    // The microphone hears the tone at once.
    int level = 0;
    for (DWORD start = GetTickCount(); level == 0 && GetTickCount() - start < 5000; Sleep(50))
        level = r.D_G_GetCapEnergy();
    EXPECT_GT(level, 0);
    EXPECT_LE(level, 100);
    r.D_G_StopPlay();
    r.D_G_StopCapture();
}

// Each pair speaks two tones to each other; every side hears the other's
// tone at the amplitude it was spoken with, not its own, and its record tap
// gets its own packets and the other's, each with its source.
TEST_F(RavoTMTest, ParticipantsOfBothEditionsHearEachOther)
{
    struct Case
    {
        const char* what;
        const char* first;
        const char* second;
    } cases[] = {
        {"two earlier-edition clients", "ravotm_peer.exe", "ravotm_peer.exe"},
        {"an earlier-edition and a current client", "ravotm_peer.exe", "kadrel_peer.exe"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clients.clear();
        const uint32_t a = JoinSpeaker("alice", "a");
        const uint32_t b = JoinSpeaker("bob", "b");
        std::vector<CKadrelProbe::Result> r =
            RunMeeting({c.first, c.second}, {Plan(a, 440, {b}), Plan(b, 1000, {a})}, 2000);
        ASSERT_EQ(r.size(), 2u);
        const uint32_t ids[2] = {a, b};
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(i == 0 ? c.first : c.second);
            const CKadrelProbe::Result& me = r[i];
            EXPECT_EQ(me.connected, 1);
            ASSERT_EQ(me.amplitudes.size(), 2u);
            EXPECT_NEAR(me.amplitudes[1 - i], 8000, 1600);
            EXPECT_LT(me.amplitudes[i], 400);
            for (uint32_t id : ids) {
                auto it = me.records.find(id);
                ASSERT_NE(it, me.records.end())
                    << "no packet of " << id << " reached the record tap";
                EXPECT_GT(it->second.packets, 10u);
                EXPECT_EQ(it->second.mismatched, 0u);
            }
        }
    }
}
