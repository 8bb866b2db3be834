// A meeting of both editions on the stand-in server of this process: an
// installed Halvern and an installed Quillet in one room list each other,
// each one's chat line shows in the other's history, and once the Quillet
// participant speaks, its audio (the stand-in microphone's tone through
// RavoTM) is relayed to the other participant.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "CAudioRelay.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "ClientWindowKit.h"
#include "HalvernProcess.h"
#include "StandInTestKit.h"

namespace {

using namespace windowkit;

const DWORD kStartMs = 150000;

enum : int { ID_SPEAK = 1007 };

class QuilletMeeting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        config = StandInTestConfig();
        config.audioPort = 0; // a free port: the relay is this test's own
        server = std::make_unique<CStandInServer>(config);
        ASSERT_TRUE(server->Start(0));
        for (HalvernProcess* c : {&halvern, &quillet}) {
            std::string error;
            ASSERT_TRUE(InstallClient(*c, c == &halvern ? "mixed_e2e_halvern" : "mixed_e2e_quillet",
                                      config.version, server->GetPort(), 0, &error))
                << error;
        }
        quillet.program = "Quillet.exe";
        // The stand-in microphone: a tone (Wine's devices here are not usable).
        SetEnvironmentVariableA("KADREL_TEST_TONE", "440,8000");
    }
    void TearDown() override
    {
        quillet.Stop();
        halvern.Stop();
        server->Stop();
        WSACleanup();
        SetEnvironmentVariableA("KADREL_TEST_TONE", nullptr);
    }

    CServerConfig config;
    std::unique_ptr<CStandInServer> server;
    HalvernProcess halvern, quillet;
};

} // namespace

TEST_F(QuilletMeeting, BothEditionsChatAndTheOtherGetsQuilletsAudio)
{
    ASSERT_TRUE(halvern.Start("127.0.0.1 \"Room two\" 2 host pw"));
    ASSERT_TRUE(quillet.Start("127.0.0.1 \"Room two\" 2 alice a"));
    HWND halvernFrame = MainWindow(halvern, "参与人数2", kStartMs);
    HWND quilletFrame = MainWindow(quillet, "参与人数2", kStartMs);
    ASSERT_NE(nullptr, halvernFrame) << halvern.ReadFile("Quillet.log");
    ASSERT_NE(nullptr, quilletFrame) << quillet.ReadFile("Quillet.log");

    ASSERT_TRUE(Say(halvernFrame, "hello from the current edition"));
    EXPECT_TRUE(
        WaitUntil([&] { return Heard(quilletFrame, "hello from the current edition"); }, 30000));
    ASSERT_TRUE(Say(quilletFrame, "hello from the earlier edition"));
    EXPECT_TRUE(
        WaitUntil([&] { return Heard(halvernFrame, "hello from the earlier edition"); }, 30000));

    // The Quillet participant asks to speak (granted at once in this room);
    // its audio then goes on to the other participant.
    ASSERT_NE(server->AudioRelay(), nullptr);
    const uint64_t before = server->AudioRelay()->GetCounters().relayed;
    HWND speak = Control(quilletFrame, ID_SPEAK, "Button");
    ASSERT_NE(nullptr, speak);
    Click(speak);
    EXPECT_TRUE(
        WaitUntil([&] { return server->AudioRelay()->GetCounters().relayed > before + 10; }, 30000))
        << "relayed " << server->AudioRelay()->GetCounters().relayed << "\n"
        << quillet.ReadFile("Quillet.log");
    EXPECT_EQ(server->AudioRelay()->GetCounters().refused, 0u);
}
