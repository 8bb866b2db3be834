#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CCommandManager.h"
#include "CStandInServer.h"
#include "CStringTable.h"
#include "CTcpLink.h"
#include "StandInTestKit.h"

namespace {

class StandInServerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }

    void SetUp() override { ASSERT_TRUE(server.Start(0)); }

    // Logs a client in and drains what the login brought.
    std::unique_ptr<StandInClient> Join(const char* user, const char* password, uint32_t room = 1)
    {
        std::unique_ptr<StandInClient> client(new StandInClient());
        EXPECT_TRUE(client->Login(server.GetPort(), user, password, room)) << client->text;
        return client;
    }

    // True when nothing with this code arrives within a short time.
    static bool Silent(StandInClient& client, uint16_t code)
    {
        std::vector<uint8_t> message;
        return !client.WaitFor(code, message, 300);
    }

    CStandInServer server{StandInTestConfig()};
};

std::vector<uint8_t> Chat(uint32_t recipient, uint32_t claimedSender, const char* text)
{
    std::vector<uint8_t> m(20 + strlen(text) + 1, 0);
    m[0] = 2088 & 0xFF;
    m[1] = 2088 >> 8;
    memcpy(&m[4], &recipient, 4);
    memcpy(&m[8], &claimedSender, 4);
    uint16_t length = static_cast<uint16_t>(strlen(text) + 1);
    memcpy(&m[16], &length, 2);
    memcpy(&m[20], text, length);
    return m;
}

} // namespace

TEST_F(StandInServerTest, JoinAndQuitNoticesGoToTheOthers)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    std::vector<uint8_t> m;
    ASSERT_TRUE(host->WaitFor(CMD_USER_JOINED, m));
    ASSERT_EQ(m.size(), 32u);
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);
    EXPECT_STREQ(reinterpret_cast<const char*>(&m[8]), "alice");
    EXPECT_EQ(m[29], 2);
    EXPECT_TRUE(Silent(*alice, CMD_USER_JOINED));

    alice->manager.Close();
    ASSERT_TRUE(host->WaitFor(CMD_USER_QUIT, m));
    ASSERT_EQ(m.size(), 8u);
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);
    EXPECT_EQ(server.GetRoomUsers(1), std::vector<uint32_t>{host->login.userId});
}

TEST_F(StandInServerTest, ChatGoesToItsRecipientWithTheTrueSender)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    auto bob = Join("bob", "b");
    std::vector<uint8_t> m;
    // Private line to alice, claiming to come from someone else.
    std::vector<uint8_t> line = Chat(alice->login.userId, 12345, "hello");
    ASSERT_TRUE(host->manager.SendFrame(line.data(), static_cast<uint32_t>(line.size())));
    ASSERT_TRUE(alice->WaitFor(CMD_CHAT, m));
    EXPECT_EQ(ReadU32(m, 8), host->login.userId);
    EXPECT_STREQ(reinterpret_cast<const char*>(&m[20]), "hello");
    EXPECT_TRUE(Silent(*bob, CMD_CHAT));

    // To everybody: every other participant, not the sender.
    ASSERT_TRUE(alice->manager.SendChat(0, 0xFF, "all", 4));
    ASSERT_TRUE(host->WaitFor(CMD_CHAT, m));
    ASSERT_TRUE(bob->WaitFor(CMD_CHAT, m));
    EXPECT_EQ(ReadU32(m, 8), alice->login.userId);
    EXPECT_TRUE(Silent(*alice, CMD_CHAT));

    // A chat whose declared length is off by one is not relayed.
    line = Chat(0, 0, "x");
    line.push_back(0);
    ASSERT_TRUE(host->manager.SendFrame(line.data(), static_cast<uint32_t>(line.size())));
    EXPECT_TRUE(Silent(*bob, CMD_CHAT));
}

TEST_F(StandInServerTest, RelaysReachTheOthersAndListedRecipients)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    auto bob = Join("bob", "b");
    std::vector<uint8_t> m;
    unsigned char board[3] = {0x07, 1, 2};
    ASSERT_TRUE(alice->manager.SendWhiteboardData(board, 3));
    ASSERT_TRUE(host->WaitFor(CMD_RELAY, m));
    EXPECT_EQ(m, (std::vector<uint8_t>{0x21, 0x08, 3, 0, 0x07, 1, 2}));
    ASSERT_TRUE(bob->WaitFor(CMD_RELAY, m));
    EXPECT_TRUE(Silent(*alice, CMD_RELAY));

    unsigned char layout[12] = {0, 0, 1, 2, 4};
    ASSERT_TRUE(host->manager.SendWindowLayout(layout, 12));
    ASSERT_TRUE(alice->WaitFor(CMD_WINDOW_LAYOUT, m));
    EXPECT_EQ(m.size(), 16u);

    // 2109 to bob only arrives as 2110 from host.
    uint32_t to[1] = {bob->login.userId};
    unsigned char data[4] = {2, 0, 9, 9};
    ASSERT_TRUE(host->manager.SendBroadcastData(to, 1, data, 4));
    ASSERT_TRUE(bob->WaitFor(CMD_PARTICIPANT_DATA, m));
    ASSERT_EQ(m.size(), 16u);
    EXPECT_EQ(ReadU32(m, 4), host->login.userId);
    EXPECT_EQ(ReadU16(m, 8), 4);
    EXPECT_EQ(m[12], 2);
    EXPECT_EQ(m[15], 9);
    EXPECT_TRUE(Silent(*alice, CMD_PARTICIPANT_DATA));

    // A file offer reaches the listed participant as 2072.
    uint32_t toAlice[1] = {alice->login.userId};
    ASSERT_TRUE(bob->manager.SendFileOffer(500, 77, "f.txt", toAlice, 1));
    ASSERT_TRUE(alice->WaitFor(CMD_FILE_OFFER_NOTICE, m));
    ASSERT_EQ(m.size(), 25u);
    EXPECT_EQ(ReadU32(m, 4), bob->login.userId);
    EXPECT_EQ(ReadU32(m, 8), 500u);
    EXPECT_EQ(ReadU32(m, 12), 77u);
    EXPECT_EQ(ReadU16(m, 16), 5);
    EXPECT_EQ(std::string(m.begin() + 20, m.end()), "f.txt");

    // Camera command, device choice, remote control request and answer.
    ASSERT_TRUE(host->manager.SendCameraControl(bob->login.userId, "\x03", 1));
    ASSERT_TRUE(bob->WaitFor(CMD_CAMERA_COMMAND, m));
    EXPECT_EQ(m, (std::vector<uint8_t>{0x2B, 0x08, 1, 0, 3}));
    ASSERT_TRUE(host->manager.SendCommand2105(bob->login.userId, 4));
    ASSERT_TRUE(bob->WaitFor(CMD_DEVICE_STATE, m));
    EXPECT_EQ(m, (std::vector<uint8_t>{0x3A, 0x08, 4, 0}));
    ASSERT_TRUE(host->manager.SendCommand2078(bob->login.userId, 1));
    ASSERT_TRUE(bob->WaitFor(CMD_REMOTE_CONTROL_NOTICE, m));
    EXPECT_EQ(ReadU32(m, 4), host->login.userId);
    ASSERT_TRUE(bob->manager.SendCommand2080(host->login.userId, 1));
    ASSERT_TRUE(host->WaitFor(CMD_REMOTE_CONTROL_REPLY, m));
    EXPECT_EQ(ReadU32(m, 4), bob->login.userId);
    EXPECT_EQ(m[8], 1);
}

TEST_F(StandInServerTest, SpeechAndControlRequestsAndTheirAnswers)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    auto bob = Join("bob", "b");
    auto carol = Join("carol", "c"); // role 4: never chair
    std::vector<uint8_t> m;
    const uint32_t a = alice->login.userId;

    // Chair-controlled room: a request is announced, the host grants it.
    ASSERT_TRUE(alice->manager.SendSpeechRequest());
    ASSERT_TRUE(host->WaitFor(CMD_SPEAK_STATE, m));
    EXPECT_EQ(ReadU32(m, 4), a);
    EXPECT_EQ(m[8], 1);
    ASSERT_TRUE(host->manager.SendGrantSpeak(a, 1));
    ASSERT_TRUE(alice->WaitFor(CMD_SPEAK_STATE, m));
    ASSERT_TRUE(alice->WaitFor(CMD_SPEAK_STATE, m));
    EXPECT_EQ(m[8], 2);
    // Only the host may grant; two speakers at most, the third grant tells the host.
    ASSERT_TRUE(alice->manager.SendGrantSpeak(bob->login.userId, 1));
    ASSERT_TRUE(host->manager.SendGrantSpeak(bob->login.userId, 1));
    ASSERT_TRUE(host->manager.SendGrantSpeak(host->login.userId, 1));
    int bobSpeaking = 0;
    bool full = false;
    while (host->Next(m, 500)) {
        if (ReadU16(m, 0) == CMD_SPEAK_STATE && ReadU32(m, 4) == bob->login.userId && m[8] == 2)
            ++bobSpeaking;
        full = full || ReadU16(m, 0) == CMD_SPEAKERS_FULL;
    }
    EXPECT_EQ(bobSpeaking, 1);
    EXPECT_TRUE(full);

    // Meeting control moves from one holder to the next.
    ASSERT_TRUE(host->manager.SendMeetingControl(a, 1));
    ASSERT_TRUE(bob->WaitFor(CMD_DATA_CONTROL, m));
    EXPECT_EQ(ReadU32(m, 4), a);
    EXPECT_EQ(m[8], 2);
    ASSERT_TRUE(host->manager.SendMeetingControl(bob->login.userId, 1));
    ASSERT_TRUE(carol->WaitFor(CMD_DATA_CONTROL, m));
    ASSERT_TRUE(carol->WaitFor(CMD_DATA_CONTROL, m));
    EXPECT_EQ(ReadU32(m, 4), a);
    EXPECT_EQ(m[8], 0);
    ASSERT_TRUE(carol->WaitFor(CMD_DATA_CONTROL, m));
    EXPECT_EQ(ReadU32(m, 4), bob->login.userId);
    EXPECT_EQ(m[8], 2);
    ASSERT_TRUE(host->manager.SendMeetingControl(carol->login.userId, 1));
    EXPECT_TRUE(Silent(*carol, CMD_DATA_CONTROL));

    // Rights, role and temporary host go to everybody.
    ASSERT_TRUE(host->manager.SendWhiteboardRight(a, 1));
    ASSERT_TRUE(bob->WaitFor(CMD_WHITEBOARD_RIGHT, m));
    EXPECT_EQ(ReadU32(m, 4), a);
    ASSERT_TRUE(host->manager.SendTemporaryHost(a, 1));
    ASSERT_TRUE(alice->WaitFor(CMD_ROLE, m));
    EXPECT_EQ(m[8], 1);
}

TEST_F(StandInServerTest, FreeRoomGrantsRequestsAtOnce)
{
    auto alice = Join("alice", "a", 2);
    std::vector<uint8_t> m;
    ASSERT_TRUE(alice->manager.SendSpeechRequest());
    ASSERT_TRUE(alice->WaitFor(CMD_SPEAK_STATE, m));
    EXPECT_EQ(m[8], 2);
    ASSERT_TRUE(alice->manager.SendControlRequest());
    ASSERT_TRUE(alice->WaitFor(CMD_DATA_CONTROL, m));
    EXPECT_EQ(m[8], 2);
}

TEST_F(StandInServerTest, VideoBroadcastStartsTheSenderAndTellsTheOthers)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    std::vector<uint8_t> m;
    ASSERT_TRUE(host->manager.SendVideoBroadcast(alice->login.userId, 1));
    ASSERT_TRUE(alice->WaitFor(CMD_START_SEND_VIDEO, m));
    ASSERT_EQ(4u, m.size());
    EXPECT_EQ(m[0] | m[1] << 8, CMD_START_SEND_VIDEO);
    uint16_t port = static_cast<uint16_t>(m[2] | m[3] << 8); // the sender's own relay port
    EXPECT_NE(0, port);
    EXPECT_NE(7000, port); // the clients' file-transfer port stays theirs
    ASSERT_TRUE(host->WaitFor(CMD_RECEIVE_VIDEO_REPLY, m));
    EXPECT_EQ(m[2], 0);
    EXPECT_EQ(port, m[8] | m[9] << 8);
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);
    EXPECT_EQ(m[10], 1);
    // The broadcaster hears of his own broadcast too: it sets his flag.
    ASSERT_TRUE(alice->WaitFor(CMD_RECEIVE_VIDEO_REPLY, m));
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);
    EXPECT_EQ(m[10], 1);
    ASSERT_TRUE(host->manager.SendVideoBroadcast(alice->login.userId, 0));
    ASSERT_TRUE(host->WaitFor(CMD_STOP_VIDEO, m));
    EXPECT_EQ(m[8], 1);
    ASSERT_TRUE(alice->WaitFor(CMD_STOP_VIDEO, m));
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);
    ASSERT_TRUE(alice->WaitFor(CMD_STOP_SEND_VIDEO, m));
}

TEST_F(StandInServerTest, MeetingStateIsKeptAndHandedOut)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    std::vector<uint8_t> m;
    ASSERT_TRUE(alice->manager.SendStartNotice());
    ASSERT_TRUE(alice->WaitFor(CMD_MEETING_STATE_ALL, m));
    ASSERT_EQ(m.size(), 1392u);
    EXPECT_EQ(m[1304], 0);

    std::vector<uint8_t> state(1392, 0);
    memcpy(&state[1304], "bulletin", 9);
    ASSERT_TRUE(host->manager.SendMeetingState(state.data()));
    ASSERT_TRUE(alice->WaitFor(CMD_MEETING_STATE_ALL, m));
    EXPECT_STREQ(reinterpret_cast<const char*>(&m[1304]), "bulletin");
    ASSERT_TRUE(alice->manager.SendStartNotice());
    ASSERT_TRUE(alice->WaitFor(CMD_MEETING_STATE_ALL, m));
    EXPECT_STREQ(reinterpret_cast<const char*>(&m[1304]), "bulletin");

    ASSERT_TRUE(alice->manager.SendKeepAlive());
    ASSERT_TRUE(alice->WaitFor(CMD_KEEP_ALIVE, m));
    EXPECT_EQ(m.size(), 2u);
}

TEST_F(StandInServerTest, KickedUserLeavesAndIsTurnedAwayForTheMinutes)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    std::vector<uint8_t> m;
    ASSERT_TRUE(host->manager.SendKickUser(alice->login.userId, 10));
    ASSERT_TRUE(alice->WaitFor(CMD_KICK_USER, m));
    EXPECT_EQ(m.size(), 2u);
    ASSERT_TRUE(host->WaitFor(CMD_USER_QUIT, m));
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);

    StandInClient again;
    EXPECT_FALSE(again.Login(server.GetPort(), "alice", "a"));
    char expected[260];
    snprintf(expected, sizeof expected, CStringTable::Find(61452), 10);
    EXPECT_STREQ(again.text, expected);
}

TEST_F(StandInServerTest, SilentOrMalformedClientsAreDroppedAndTheServerGoesOn)
{
    server.Stop();
    server.Config().keepAliveSeconds = 1;
    std::mutex logLock;
    std::vector<std::string> log;
    server.SetLog([&](const std::string& line) {
        std::lock_guard<std::mutex> lock(logLock);
        log.push_back(line);
    });
    ASSERT_TRUE(server.Start(0));
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    std::vector<uint8_t> m;
    // alice says nothing; the host keeps his connection alive.
    for (int i = 0; i < 6 && !host->WaitFor(CMD_USER_QUIT, m, 300); ++i)
        host->manager.SendKeepAlive();
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);
    bool lost = false;
    while (alice->Next(m, 3000, &lost) && !lost) {}
    EXPECT_TRUE(lost);
    {
        // The server's log says who was dropped, and why.
        std::lock_guard<std::mutex> lock(logLock);
        const std::string expected =
            "user " + std::to_string(alice->login.userId) +
            " left the meeting: the client was silent for longer than the keep-alive time";
        EXPECT_EQ(log, std::vector<std::string>{expected});
    }

    // A frame with an empty payload ends the sender's connection only.
    SOCKET s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(server.GetPort());
    ASSERT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    const char bad[] = {'\xFF', 0, 0, 0, '\xFF', 0};
    send(s, bad, sizeof bad, 0);
    char reply[32];
    EXPECT_LE(recv(s, reply, sizeof reply, 0), 0);
    closesocket(s);
    EXPECT_TRUE(host->manager.SendKeepAlive());
    char version[12];
    CCommandManager probe;
    EXPECT_TRUE(probe.GetServerVersion("127.0.0.1", server.GetPort(), version, host->text));
}

TEST_F(StandInServerTest, StoppedReadingHoldsFramesUntilResumed)
{
    auto alice = Join("alice", "a");
    const uint32_t id = alice->login.userId;
    ASSERT_TRUE(server.SetReading(id, false));
    server.ClearFrames();
    for (uint8_t i = 0; i < 5; ++i)
        ASSERT_TRUE(alice->manager.SendCommand2076(i));
    Sleep(200);
    EXPECT_TRUE(server.GetFrames().empty());
    ASSERT_TRUE(server.SetReading(id, true));
    for (uint8_t i = 0; i < 5; ++i) {
        SERVER_FRAME frame;
        ASSERT_TRUE(server.WaitForFrame(CMD_SCREEN_BROADCAST, id, 3000, &frame));
        EXPECT_EQ(frame.payload, (std::vector<uint8_t>{0x1C, 0x08, i, 0}));
    }
    EXPECT_FALSE(server.SetReading(999, false));
}

TEST(StandInServerProgramTest, RunsOnItsOwnFromItsSettingsFile)
{
    ASSERT_TRUE(StartWinsock());
    // A free port for the program.
    SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    int length = sizeof address;
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    uint16_t port = ntohs(address.sin_port);
    closesocket(probe);

    char command[256];
    snprintf(command, sizeof command,
             "ConferenceServer.exe ConferenceServer.ini -port %u -seconds 20",
             static_cast<unsigned>(port));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                               nullptr, &startup, &process));
    CCommandManager manager;
    char version[12] = {};
    char text[260];
    bool ok = false;
    for (int i = 0; i < 100 && !ok; ++i) {
        ok = manager.GetServerVersion("127.0.0.1", port, version, text);
        if (!ok)
            Sleep(50);
    }
    EXPECT_TRUE(ok);
    EXPECT_STREQ(version, "1.0.0.1");
    CPtrArray rooms;
    EXPECT_TRUE(manager.GetConferenceList("127.0.0.1", "host", "host", port, &rooms, text));
    ASSERT_EQ(rooms.GetSize(), 2);
    EXPECT_STREQ(static_cast<CONF_INFO*>(rooms[0])->name, "第一会议室");
    FreeConferenceList(rooms);

    LOGIN_INFO login = {};
    strcpy(login.serverAddress, "127.0.0.1");
    login.serverPort = port;
    strcpy(login.userName, "host");
    strcpy(login.password, "host");
    login.roomId = 1;
    CUserTable users;
    CCommandManager client(&users, &login);
    EXPECT_TRUE(client.Login(&login, text));
    EXPECT_EQ(login.role, 1);
    client.Close();

    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    WSACleanup();
}
