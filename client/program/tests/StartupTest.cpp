// The installed client started as a user starts it, against the stand-in
// server of this process: with a server, room and account on its command
// line it logs in and opens its main window; without, it shows the login
// dialog.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <string>

#include "CStandInServer.h"
#include "CTcpLink.h"
#include "HalvernProcess.h"
#include "StandInTestKit.h"

namespace {

// Start-up under emulation: Wine's process start, COM and the media
// libraries take their seconds.
const DWORD kStartMs = 90000;

class ClientStartUp : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartWinsock());
        config = StandInTestConfig();
        server = std::make_unique<CStandInServer>(config);
        ASSERT_TRUE(server->Start(0));
        std::string error;
        ASSERT_TRUE(client.Install("halvern_startup", &error)) << error;
        client.SetIni("Version", config.version);
        client.SetIni("ServerPort", std::to_string(server->GetPort()));
    }
    void TearDown() override
    {
        client.Stop();
        server->Stop();
        WSACleanup();
    }

    CServerConfig config;
    std::unique_ptr<CStandInServer> server;
    HalvernProcess client;
};

} // namespace

TEST_F(ClientStartUp, CommandLineLogsInAndOpensTheMainWindow)
{
    ASSERT_TRUE(client.Start("127.0.0.1 \"Room one\" 1 host pw"));
    HWND frame = client.WaitForWindow("!#32770", kStartMs);
    ASSERT_NE(frame, nullptr) << "no main window; the client's log:\n"
                              << client.ReadFile("Quillet.log") << "its windows:\n"
                              << client.DescribeWindows();
    // The host is in room 1 on the server.
    std::vector<uint32_t> users = server->GetRoomUsers(1);
    EXPECT_EQ(users.size(), 1u);
    std::string log = client.ReadFile("Quillet.log");
    EXPECT_NE(log.find("Command Line Params Count = 6"), std::string::npos) << log;
    EXPECT_NE(log.find("start up application form command line!"), std::string::npos) << log;
    EXPECT_NE(log.find("Main window created!"), std::string::npos) << log;
    RECT shown = {};
    GetWindowRect(frame, &shown);
    EXPECT_TRUE(IsZoomed(frame)) << "shown maximised";
    // The first start installed the virtual printer and noted it.
    EXPECT_EQ(
        GetPrivateProfileIntA("Dorvane", "InitPrinter", 9, (client.folder + "Dorvane.ini").c_str()),
        1u);

    PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(client.WaitForExit(30000), 0u);
    // The exit saved the settings and left the working folders.
    EXPECT_NE(GetFileAttributesA((client.folder + "Share").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA((client.folder + "Temp").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(client.ReadFile("Dorvane.ini").find("Language=936"), std::string::npos);
}

TEST_F(ClientStartUp, WithoutAFullCommandLineTheLoginDialogComes)
{
    // Four arguments are not enough for a direct login.
    ASSERT_TRUE(client.Start("127.0.0.1 \"Room one\" 1 host"));
    HWND dialog = client.WaitForWindow("#32770", kStartMs);
    ASSERT_NE(dialog, nullptr) << client.ReadFile("Quillet.log");
    EXPECT_EQ(HalvernProcess::WindowText(dialog), "会议室登录");
    std::string log = client.ReadFile("Quillet.log");
    EXPECT_NE(log.find("Bad command params"), std::string::npos) << log;
    EXPECT_NE(log.find("start up application from window!"), std::string::npos) << log;
    EXPECT_TRUE(server->GetRoomUsers(1).empty());

    // Cancel ends the program without a main window.
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_NE(client.WaitForExit(30000), STILL_ACTIVE);
    EXPECT_EQ(client.ReadFile("Quillet.log").find("Main window created!"), std::string::npos);
}

TEST_F(ClientStartUp, EveryInstallIsANewFolderWithTheDefaultSettings)
{
    // What a first start notes in the installed settings must not reach a
    // later install of the same name, as one of a later test process with
    // the same process id would be.
    client.SetIni("InitPrinter", "1");
    HalvernProcess again;
    std::string error;
    ASSERT_TRUE(again.Install("halvern_startup", &error)) << error;
    EXPECT_NE(again.folder, client.folder);
    const std::string ini = again.folder + "Dorvane.ini";
    struct Key
    {
        const char* name;
        UINT value;
    } keys[] = {
        {"InitPrinter", 0}, {"ServerPort", 6999}, {"FtpServerPort", 7000}, {"Language", 936}};
    for (const Key& key : keys)
        EXPECT_EQ(GetPrivateProfileIntA("Dorvane", key.name, 99999, ini.c_str()), key.value)
            << key.name;
}
