#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "CCommandManager.h"
#include "CStringTable.h"
#include "CTcpLink.h"
#include "CUserTable.h"
#include "StandInTestKit.h"

namespace {

std::string Text(unsigned id)
{
    const char* text = CStringTable::Find(id);
    return text ? text : "";
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(static_cast<uint8_t>(v));
    return bytes;
}

// A reply of a given length: the u16 result code, then filler.
std::vector<uint8_t> Reply(uint16_t result, size_t length, uint8_t fill = 0)
{
    std::vector<uint8_t> reply(length, fill);
    reply[0] = static_cast<uint8_t>(result);
    if (length > 1)
        reply[1] = static_cast<uint8_t>(result >> 8);
    return reply;
}

class CommandManagerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }

    void SetUp() override { ASSERT_TRUE(server.Start(0)); }

    uint16_t Port() const { return server.GetPort(); }

    CStandInServer server{StandInTestConfig()};
    char text[CCommandManager::TEXT_SIZE] = {};
};

} // namespace

TEST_F(CommandManagerTest, ServerVersion)
{
    CCommandManager manager;
    char version[12] = "old";
    EXPECT_TRUE(manager.GetServerVersion("127.0.0.1", Port(), version, text));
    EXPECT_STREQ(version, "2.5.0.7");
    EXPECT_EQ(text, Text(61455));

    // A version text that fills its field is cut at byte 13 of the reply.
    std::vector<uint8_t> longVersion = Reply(0, 20, 'v');
    server.SetRequestReply(REQ_SERVER_VERSION, longVersion);
    EXPECT_TRUE(manager.GetServerVersion("127.0.0.1", Port(), version, text));
    EXPECT_STREQ(version, "vvvvvvvvvvv");

    struct
    {
        size_t length;
        uint16_t result;
        unsigned textId;
    } cases[] = {
        {19, 0, 61449},
        {21, 0, 61449},
        {20, 258, 61459},
        {20, 4097, 61473},
    };
    for (const auto& c : cases) {
        server.SetRequestReply(REQ_SERVER_VERSION, Reply(c.result, c.length));
        strcpy(version, "kept");
        EXPECT_FALSE(manager.GetServerVersion("127.0.0.1", Port(), version, text)) << c.length;
        EXPECT_EQ(text, Text(c.textId)) << c.length;
        EXPECT_STREQ(version, "kept");
    }

    server.Stop();
    EXPECT_FALSE(manager.GetServerVersion("127.0.0.1", Port(), version, text));
    EXPECT_EQ(text, Text(61448));
}

TEST_F(CommandManagerTest, ServerThatNeverAnswersIsATimeOut)
{
    CCommandManager manager;
    manager.SetReplyWaits(1, 1);
    server.SetRequestReply(REQ_SERVER_VERSION, {}, true);
    char version[12] = {};
    EXPECT_FALSE(manager.GetServerVersion("127.0.0.1", Port(), version, text));
    EXPECT_EQ(text, Text(61449));
}

TEST_F(CommandManagerTest, ConferenceList)
{
    CCommandManager manager;
    CPtrArray rooms;
    auto room = [&](int i) { return static_cast<CONF_INFO*>(rooms[i]); };
    ASSERT_TRUE(manager.GetConferenceList("127.0.0.1", "alice", "a", Port(), &rooms, text));
    ASSERT_EQ(rooms.GetSize(), 2);
    EXPECT_EQ(room(0)->roomId, 1u);
    EXPECT_STREQ(room(0)->name, "Room one");
    EXPECT_EQ(room(1)->roomId, 2u);
    FreeConferenceList(rooms);

    // The request carries the account in its fields and zeros elsewhere.
    ASSERT_FALSE(server.GetFrames().empty());
    SERVER_FRAME request = server.GetFrames().front();
    ASSERT_EQ(request.payload.size(), 44u);
    std::vector<uint8_t> expected(44, 0);
    expected[0] = 3;
    memcpy(&expected[1], "alice", 5);
    expected[22] = 'a';
    EXPECT_EQ(request.payload, expected);

    // A name that fills its 21 bytes is ended at byte 24 of the record.
    std::vector<uint8_t> reply = Reply(0, 2 + 32, 'n');
    server.SetRequestReply(REQ_CONFERENCE_LIST, reply);
    ASSERT_TRUE(manager.GetConferenceList("127.0.0.1", "alice", "a", Port(), &rooms, text));
    ASSERT_EQ(rooms.GetSize(), 1);
    EXPECT_EQ(strlen(room(0)->name), 20u);
    FreeConferenceList(rooms);

    server.SetRequestReply(REQ_CONFERENCE_LIST, Reply(0, 2));
    EXPECT_TRUE(manager.GetConferenceList("127.0.0.1", "alice", "a", Port(), &rooms, text));
    EXPECT_EQ(rooms.GetSize(), 0);

    server.SetRequestReply(REQ_CONFERENCE_LIST, Reply(0, 2 + 32 + 1));
    EXPECT_FALSE(manager.GetConferenceList("127.0.0.1", "alice", "a", Port(), &rooms, text));
    EXPECT_EQ(text, Text(61454));
    EXPECT_EQ(rooms.GetSize(), 0);

    server.ClearRequestReplies();
    EXPECT_FALSE(manager.GetConferenceList("127.0.0.1", "alice", "wrong", Port(), &rooms, text));
    EXPECT_EQ(text, Text(61461));
}

TEST_F(CommandManagerTest, UpdateServers)
{
    LOGIN_INFO login = {};
    login.serverPort = Port();
    CCommandManager manager(nullptr, &login);
    CStringList servers;
    auto list = [&]() {
        std::vector<std::string> out;
        for (POSITION pos = servers.GetHeadPosition(); pos;)
            out.push_back(static_cast<LPCSTR>(servers.GetNext(pos)));
        return out;
    };
    uint16_t port = 0;
    ASSERT_TRUE(manager.GetUpdateServerAddress("127.0.0.1", &servers, &port, text));
    EXPECT_EQ(port, 8123);
    EXPECT_EQ(list(), (std::vector<std::string>{"10.0.0.1", "10.0.0.2"}));

    // An entry of 16 characters ends the list; an empty first one leaves none.
    std::vector<uint8_t> reply = Reply(0, 6 + 16 * 3);
    reply[2] = 0x10;
    reply[4] = 3;
    memcpy(&reply[6], "1.2.3.4", 7);
    memset(&reply[22], '9', 16);
    memcpy(&reply[38], "5.6.7.8", 7);
    server.SetRequestReply(REQ_UPDATE_SERVERS, reply);
    ASSERT_TRUE(manager.GetUpdateServerAddress("127.0.0.1", &servers, &port, text));
    EXPECT_EQ(list(), (std::vector<std::string>{"1.2.3.4"}));
    EXPECT_EQ(port, 0x10);

    memset(&reply[6], 0, 16);
    server.SetRequestReply(REQ_UPDATE_SERVERS, reply);
    EXPECT_FALSE(manager.GetUpdateServerAddress("127.0.0.1", &servers, &port, text));
    EXPECT_EQ(text, Text(61648));

    reply.push_back(0);
    server.SetRequestReply(REQ_UPDATE_SERVERS, reply);
    EXPECT_FALSE(manager.GetUpdateServerAddress("127.0.0.1", &servers, &port, text));
    EXPECT_EQ(text, Text(61648));
}

TEST_F(CommandManagerTest, LoginKindsAndTheParticipantTable)
{
    StandInClient host, alice, nick;
    ASSERT_TRUE(host.Login(Port(), "host", "pw", 1, 0)) << host.text;
    ASSERT_TRUE(alice.Login(Port(), "alice", "a", 1, 5)) << alice.text;
    ASSERT_TRUE(nick.Login(Port(), "Nick", "", 1, 1)) << nick.text;

    // Login modes 0, 1 and any other send request kinds 4, 6 and 7, with
    // zeros after each string.
    std::vector<uint8_t> kinds;
    for (const SERVER_FRAME& frame : server.GetFrames()) {
        if (frame.payload.size() == 52) {
            kinds.push_back(frame.payload[0]);
            EXPECT_EQ(frame.payload[1] | frame.payload[2] | frame.payload[3], 0);
            EXPECT_EQ(ReadU32(frame.payload, 4), 1u);
            size_t nameEnd = 8 + strlen(reinterpret_cast<const char*>(&frame.payload[8]));
            for (size_t i = nameEnd; i < 29; ++i)
                EXPECT_EQ(frame.payload[i], 0) << i;
            size_t passwordEnd = 29 + strlen(reinterpret_cast<const char*>(&frame.payload[29]));
            for (size_t i = passwordEnd; i < 52; ++i)
                EXPECT_EQ(frame.payload[i], 0) << i;
        }
    }
    EXPECT_EQ(kinds, (std::vector<uint8_t>{4, 7, 6}));

    EXPECT_EQ(host.login.role, 1);
    EXPECT_EQ(host.login.meetingMode, 2);
    EXPECT_NE(host.login.audioPort, 0);
    EXPECT_EQ(host.login.audioPort, server.Config().audioPort);
    EXPECT_EQ(host.login.audioPort2, 7101);
    EXPECT_EQ(host.login.freeFileSending, 1u);
    EXPECT_EQ(host.users.GetCount(), 1);
    ASSERT_EQ(nick.users.GetCount(), 3);
    USER_INFO first;
    ASSERT_TRUE(nick.users.GetUserAt(0, &first));
    EXPECT_STREQ(first.name, "host");
    EXPECT_EQ(first.role, 1);
    EXPECT_EQ(first.allowWhiteboard, 1);
    EXPECT_NE(nick.login.userId, 0u);
    EXPECT_TRUE(nick.manager.IsConnected());
}

TEST_F(CommandManagerTest, ServerFormOfTheOwnNameWins)
{
    StandInClient client;
    std::vector<uint8_t> reply = Reply(0, 22 + 36);
    reply[10] = 9; // own id 9
    reply[14] = 2;
    reply[22] = 9; // the one entry is the own user
    memcpy(&reply[26], "Server Form", 11);
    server.SetRequestReply(REQ_LOGIN, reply);
    ASSERT_TRUE(client.Login(Port(), "server form", "x"));
    EXPECT_STREQ(client.login.userName, "Server Form");
    EXPECT_EQ(client.login.userId, 9u);
}

TEST_F(CommandManagerTest, LoginFailuresShowTheirTexts)
{
    StandInClient first;
    ASSERT_TRUE(first.Login(Port(), "alice", "a"));

    struct
    {
        const char* user;
        const char* password;
        uint32_t room;
        uint32_t mode;
        unsigned id;
    } cases[] = {
        {"alice", "a", 99, 0, 61459},  // no such room
        {"alice", "a", 99, 2, 61612},  // kind 7: no meeting of this number
        {"nobody", "a", 1, 0, 61460},  // no such user
        {"bob", "wrong", 1, 0, 61461}, // wrong password
        {"alice", "a", 1, 0, 61464},   // the same name is in the room
        {"Nick", "", 2, 1, 61611},     // room 2 takes no nicknames
    };
    for (const auto& c : cases) {
        StandInClient client;
        EXPECT_FALSE(client.Login(Port(), c.user, c.password, c.room, c.mode)) << c.user;
        EXPECT_EQ(client.text, Text(c.id)) << c.user;
        EXPECT_EQ(client.users.GetCount(), 0);
        EXPECT_FALSE(client.manager.IsConnected())
            << c.user << ": a refused login keeps no connection";
    }
}

TEST_F(CommandManagerTest, KickedAndOtherMcuRepliesAreFormatted)
{
    char expected[260];
    struct
    {
        std::vector<uint8_t> reply;
        std::string text;
    } cases[] = {
        {Bytes({0x10, 0x01, 10, 0}), ""},
        {Reply(282, 18, 'M'), ""},
        {Reply(282, 17, 'M'), Text(61609)}, // too short: the plain text
        {Reply(272, 2), Text(61467)},       // no minutes: the plain text
    };
    snprintf(expected, sizeof expected, Text(61452).c_str(), 10);
    cases[0].text = expected;
    snprintf(expected, sizeof expected, Text(61609).c_str(), "MMMMMMMMMMMMMMM");
    cases[1].text = expected;
    for (const auto& c : cases) {
        server.SetRequestReply(REQ_LOGIN, c.reply);
        StandInClient client;
        EXPECT_FALSE(client.Login(Port(), "alice", "a"));
        EXPECT_EQ(client.text, c.text);
    }
}

TEST_F(CommandManagerTest, LoginReplyLengthIsCheckedBeforeAnythingIsTaken)
{
    struct
    {
        size_t length;
        bool ok;
    } cases[] = {{21, false}, {22, true}, {22 + 36 + 1, false}, {22 + 72, true}, {2, false}};
    for (const auto& c : cases) {
        std::vector<uint8_t> reply = Reply(0, c.length, 0x77);
        if (c.length >= 22) {
            // Participants with distinct ids; the head says id 0x77777777.
            for (size_t at = 22; at + 36 <= c.length; at += 36)
                reply[at] = static_cast<uint8_t>(at);
        }
        server.SetRequestReply(REQ_LOGIN, reply);
        StandInClient client;
        client.login.userId = 5;
        client.login.role = 3;
        EXPECT_EQ(client.Login(Port(), "alice", "a"), c.ok) << c.length;
        if (c.ok) {
            EXPECT_EQ(client.login.userId, 0x77777777u);
            EXPECT_EQ(client.users.GetCount(), static_cast<int>((c.length - 22) / 36));
        } else {
            EXPECT_EQ(client.text, Text(61453)) << c.length;
            EXPECT_EQ(client.login.userId, 5u) << c.length;
            EXPECT_EQ(client.login.role, 3) << c.length;
            EXPECT_EQ(client.users.GetCount(), 0);
        }
    }
}

TEST_F(CommandManagerTest, SlowConsumerLosesNothing)
{
    StandInClient client;
    ASSERT_TRUE(client.Login(Port(), "alice", "a"));
    const int count = 40;
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> message = {0x51, 0x08, static_cast<uint8_t>(i), 0};
        message.resize(2 + 1 + i * 300, static_cast<uint8_t>(i));
        ASSERT_TRUE(server.InjectFrame(client.login.userId, message));
    }
    // Nothing is read for a while; then every message comes in order.
    Sleep(200);
    for (int i = 0; i < count; ++i) {
        std::vector<uint8_t> message;
        ASSERT_TRUE(client.Next(message, 3000)) << i;
        ASSERT_EQ(message.size(), static_cast<size_t>(3 + i * 300)) << i;
        EXPECT_EQ(message[2], i);
        EXPECT_EQ(message.back(), static_cast<uint8_t>(i));
    }
}

TEST_F(CommandManagerTest, LostConnectionQueuesOneEmptyEntryAndClosesTheSocket)
{
    enum Fault { CLOSED, MID_FRAME, BAD_MARKER, TOO_LONG_FOR_THE_QUEUE };
    for (Fault fault : {CLOSED, MID_FRAME, BAD_MARKER, TOO_LONG_FOR_THE_QUEUE}) {
        StandInClient client;
        ASSERT_TRUE(client.Login(Port(), "alice", "a"));
        uint32_t id = client.login.userId;
        ASSERT_TRUE(server.InjectFrame(id, {0x5C, 0x08}));
        switch (fault) {
        case CLOSED:
            server.Disconnect(id);
            break;
        case MID_FRAME:
            server.CloseMidFrame(id, 100, 40);
            break;
        case BAD_MARKER:
            server.InjectRaw(id, {0xFE, 0, 2, 0, 0xFF, 0, 0x5C, 0x08});
            break;
        case TOO_LONG_FOR_THE_QUEUE: {
            std::vector<uint8_t> big(40000, 1);
            server.InjectFrame(id, big);
            break;
        }
        }
        std::vector<uint8_t> message;
        bool lost = true;
        ASSERT_TRUE(client.Next(message, 3000, &lost)) << fault;
        EXPECT_FALSE(lost);
        ASSERT_TRUE(client.Next(message, 3000, &lost)) << fault;
        EXPECT_TRUE(lost) << fault;
        EXPECT_FALSE(client.Next(message, 200)) << fault;
        EXPECT_FALSE(client.manager.IsConnected()) << fault;
        // The server sees the client gone.
        EXPECT_TRUE(server.WaitForRoomCount(1, 0, 3000)) << fault;
        EXPECT_FALSE(client.manager.SendKeepAlive());
    }
}

TEST_F(CommandManagerTest, LoginAgainAfterALostConnectionButNotWhileConnected)
{
    StandInClient client;
    ASSERT_TRUE(client.Login(Port(), "alice", "a"));
    EXPECT_FALSE(client.Login(Port(), "alice", "a"));
    EXPECT_TRUE(client.manager.IsConnected());
    ASSERT_TRUE(server.Disconnect(client.login.userId));
    std::vector<uint8_t> message;
    bool lost = false;
    ASSERT_TRUE(client.Next(message, 3000, &lost));
    ASSERT_TRUE(lost);
    ASSERT_TRUE(server.WaitForRoomCount(1, 0, 3000));

    ASSERT_TRUE(client.Login(Port(), "alice", "a")) << client.text;
    ASSERT_TRUE(server.InjectFrame(client.login.userId, {0x5C, 0x08}));
    ASSERT_TRUE(client.Next(message, 3000, &lost));
    EXPECT_FALSE(lost);
    EXPECT_EQ(message, (std::vector<uint8_t>{0x5C, 0x08}));
}

TEST_F(CommandManagerTest, CloseEndsAWaitingReceiveThreadWithoutAnEmptyEntry)
{
    StandInClient client;
    ASSERT_TRUE(client.Login(Port(), "alice", "a"));
    // Whatever the server sent is taken, so that the receive thread waits.
    std::vector<uint8_t> message;
    while (client.Next(message, 300)) {}
    client.manager.Close();
    EXPECT_EQ(client.manager.GetHandle(), nullptr);
    EXPECT_FALSE(client.manager.IsConnected());
    // The pool is stopped now, so its list is read directly: an entry of
    // length 0 would tell the UI thread of a lost connection.
    EXPECT_EQ(0u, client.manager.GetFilledCount());
    EXPECT_FALSE(client.Next(message, 0));
    EXPECT_FALSE(client.manager.SendSpeechRequest());
}

TEST_F(CommandManagerTest, ResultTexts)
{
    CCommandManager manager;
    // The texts themselves, as the user reads them.
    struct
    {
        uint16_t code;
        const char* text;
    } cases[] = {
        {0, "无错误发生!"},
        {1, "服务器会议室列举对象不存在!"},
        {2, "无您可以参加的会议室！"},
        {257, "服务器已经满员!"},
        {258, "会议室不存在!"},
        {259, "用户不存在!"},
        {260, "用户密码错误!"},
        {261, "收到无法识别的服务器消息!"},
        {262, "会议室已经满员!"},
        {263, "会议室中已经存在名称相同的用户!"},
        {264, "服务器创建命令接收对象失败!"},
        {265, "会议室已被锁定!"},
        {272, "用户已被踢出!"},
        {273, "错误号03!"},
        {274, "用户验证对象不存在，请与生产厂商联系"},
        {275, "验证返回无效命令，验证出错"},
        {276, "创建会议室失败"},
        {277, "初始化会议室失败"},
        {280, "创建会议，会议类型错误!"},
        {281, "当前登录的MCU为非法MCU!"},
        {282, "会议在MCU(%s)上进行!"},
        {283, "企业并发人数已满!"},
        {284, "会议类型不是路演会议和主题会议，所以无法以呢称登录!"},
        {2064, "无此会议号!"},
        {4097, "等待超时"},
        {4098, "错误号05!"},
        {32769, "帐号未激活!"},
        {32770, "帐号欠费!"},
        {32771, "帐号过期失效!"},
        {3, "收到无法识别的服务器消息!"},
        {65535, "收到无法识别的服务器消息!"},
    };
    for (const auto& c : cases) {
        manager.GetResultText(c.code, text);
        EXPECT_EQ(text, std::string(c.text)) << c.code;
    }
}
