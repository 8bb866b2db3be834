// The installed earlier edition started as a user starts it, against the
// stand-in server of this process: with a server, room and account on its
// command line it logs in, opens its main window and joins the room's audio
// through RavoTM.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>

#include "CAudioRelay.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "HalvernProcess.h"
#include "StandInTestKit.h"

namespace {

// Start-up under emulation: Wine's process start, COM and the media
// libraries take their seconds.
const DWORD kStartMs = 90000;

class QuilletStartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        config = StandInTestConfig();
        config.audioPort = 0;
        server = std::make_unique<CStandInServer>(config);
        ASSERT_TRUE(server->Start(0));
        std::string error;
        ASSERT_TRUE(client.Install("quillet_startup", &error)) << error;
        client.program = "Quillet.exe";
        client.SetIni("Version", config.version);
        client.SetIni("ServerPort", std::to_string(server->GetPort()));
        // The client's sound devices: a tone for a microphone and a paced
        // silent speaker (Wine's devices here are not usable).
        SetEnvironmentVariableA("KADREL_TEST_TONE", "440,8000");
    }
    void TearDown() override
    {
        client.Stop();
        server->Stop();
        WSACleanup();
        SetEnvironmentVariableA("KADREL_TEST_TONE", nullptr);
    }

    CServerConfig config;
    std::unique_ptr<CStandInServer> server;
    HalvernProcess client;
};

} // namespace

TEST_F(QuilletStartUp, CommandLineLogsInOpensTheMainWindowAndJoinsTheAudio)
{
    ASSERT_TRUE(client.Start("127.0.0.1 \"Room one\" 1 host pw"));
    HWND frame = client.WaitForWindow("!#32770", kStartMs);
    ASSERT_NE(frame, nullptr) << "no main window; the client's log:\n"
                              << client.ReadFile("Quillet.log");
    EXPECT_EQ(server->GetRoomUsers(1).size(), 1u);
    std::string log = client.ReadFile("Quillet.log");
    EXPECT_NE(log.find("start up application form command line!"), std::string::npos) << log;
    EXPECT_NE(log.find("Main window created!"), std::string::npos) << log;
    EXPECT_TRUE(IsZoomed(frame)) << "shown maximised";
    // The first start installed the virtual printer and noted it.
    EXPECT_EQ(
        GetPrivateProfileIntA("Dorvane", "InitPrinter", 9, (client.folder + "Dorvane.ini").c_str()),
        1u);
    // No message box came up (a failed device start or audio connection
    // would show one).
    EXPECT_EQ(client.WaitForWindow("#32770", 3000), nullptr);
    // The main window joined the room's audio port through RavoTM.
    ASSERT_NE(server->AudioRelay(), nullptr);
    CAudioRelay::Counters counters = server->AudioRelay()->GetCounters();
    EXPECT_GT(counters.received, 0u);
    EXPECT_EQ(counters.refused, 0u);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(client.WaitForExit(30000), 0u);
}

TEST_F(QuilletStartUp, WithoutAFullCommandLineTheLoginDialogComes)
{
    ASSERT_TRUE(client.Start("127.0.0.1 \"Room one\" 1 host"));
    HWND dialog = client.WaitForWindow("#32770", kStartMs);
    ASSERT_NE(dialog, nullptr) << client.ReadFile("Quillet.log");
    EXPECT_EQ(HalvernProcess::WindowText(dialog), "会议室登录");
    EXPECT_NE(client.ReadFile("Quillet.log").find("start up application from window!"),
              std::string::npos);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_NE(client.WaitForExit(30000), STILL_ACTIVE);
}
