#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "CCommandManager.h"
#include "CTcpLink.h"
#include "StandInTestKit.h"

namespace {

// Little-endian field helpers for the expected bytes.
struct Expect
{
    std::vector<uint8_t> bytes;
    explicit Expect(size_t length) : bytes(length, 0) {}
    Expect& U8(size_t at, uint8_t v)
    {
        bytes[at] = v;
        return *this;
    }
    Expect& U16(size_t at, uint16_t v)
    {
        bytes[at] = v & 0xFF;
        bytes[at + 1] = v >> 8;
        return *this;
    }
    Expect& U32(size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
        return *this;
    }
    Expect& Text(size_t at, const void* data, size_t length)
    {
        memcpy(&bytes[at], data, length);
        return *this;
    }
};

class SendersTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }

    void SetUp() override
    {
        ASSERT_TRUE(server.Start(0));
        ASSERT_TRUE(client.Login(server.GetPort(), "host", "pw"));
        server.ClearFrames();
    }

    // The one frame the server got for this sender.
    std::vector<uint8_t> Sent(const std::function<bool()>& sender)
    {
        server.ClearFrames();
        EXPECT_TRUE(sender());
        // A keep-alive after the command marks the end of what was sent.
        EXPECT_TRUE(client.manager.SendKeepAlive());
        EXPECT_TRUE(server.WaitForFrame(CMD_KEEP_ALIVE, client.login.userId, 3000));
        if (server.GetFrames().size() < 2) { // the command was a keep-alive itself
            EXPECT_TRUE(server.WaitForFrame(CMD_KEEP_ALIVE, client.login.userId, 3000));
        }
        std::vector<SERVER_FRAME> frames = server.GetFrames();
        EXPECT_EQ(frames.size(), 2u);
        return frames.empty() ? std::vector<uint8_t>() : frames.front().payload;
    }

    CStandInServer server{StandInTestConfig()};
    StandInClient client;
};

} // namespace

TEST_F(SendersTest, EverySenderWritesItsExactLayout)
{
    CCommandManager& m = client.manager;
    const uint32_t self = client.login.userId;
    const uint32_t ids[3] = {0x11223344, 5, 6};
    const uint16_t pair[3] = {0x0102, 0xFFFF, 0x0304};
    unsigned char layout[12] = {1, 0, 1, 2, 4, 0, 0, 0, 9, 0, 0, 0};
    unsigned char chat[24] = {};
    chat[0] = 1;
    memcpy(chat + 4, "宋体", 4);
    chat[16] = 14;
    memcpy(chat + 20, "hi!", 4);
    unsigned char camera[3] = {3, 1, 2};
    unsigned char board[5] = {0x07, 1, 2, 3, 4};
    unsigned char settings[4] = {2, 0, 0xAA, 0xBB};
    std::vector<uint8_t> state(MEETING_STATE_SIZE, 0x33);
    state[0] = 0xC6; // arrived as 4358: goes out as 4357
    state[1] = 0x10;
    Expect stateOut(MEETING_STATE_SIZE);
    memset(stateOut.bytes.data(), 0x33, MEETING_STATE_SIZE);
    stateOut.U16(0, 4357);

    struct Case
    {
        const char* name;
        std::function<bool()> send;
        std::vector<uint8_t> expected;
    };
    const Case cases[] = {
        {"2049", [&] { return m.SendDeviceInfo(1, 2, 3, 4); },
         Expect(6).U16(0, 2049).U8(2, 2).U8(3, 1).U8(4, 3).U8(5, 4).bytes},
        {"2053", [&] { return m.SendMeetingMode(2); }, Expect(4).U16(0, 2053).U8(2, 2).bytes},
        {"2054", [&] { return m.SendLockMeeting(1); }, Expect(4).U16(0, 2054).U8(2, 1).bytes},
        {"2055", [&] { return m.SendKickUser(77, 10); },
         Expect(12).U16(0, 2055).U32(4, 77).U16(8, 10).bytes},
        {"2056", [&] { return m.SendGrantSpeak(77, 1); },
         Expect(12).U16(0, 2056).U32(4, 77).U8(8, 1).bytes},
        {"2058", [&] { return m.SendVideoBroadcast(self, 1); },
         Expect(12).U16(0, 2058).U32(4, self).U8(8, 1).bytes},
        {"2061", [&] { return m.SendMeetingControl(77, 1); },
         Expect(12).U16(0, 2061).U32(4, 77).U8(8, 1).bytes},
        {"2063", [&] { return m.SendSpeechRequest(); }, Expect(2).U16(0, 2063).bytes},
        {"2064", [&] { return m.SendSpeechGiveUp(); }, Expect(2).U16(0, 2064).bytes},
        {"2065", [&] { return m.SendControlRequest(); }, Expect(2).U16(0, 2065).bytes},
        {"2066", [&] { return m.SendControlGiveUp(); }, Expect(2).U16(0, 2066).bytes},
        {"2068", [&] { return m.SendCommand2068(0xABCDEF01); },
         Expect(12).U16(0, 2068).U32(4, 0xABCDEF01).bytes},
        {"2071", [&] { return m.SendFileOffer(1000, 0x55, "a.txt", ids, 2); },
         Expect(16 + 5 + 8)
             .U16(0, 2071)
             .U32(4, 1000)
             .U32(8, 0x55)
             .U16(12, 5)
             .U8(14, 2)
             .Text(16, "a.txt", 5)
             .U32(21, ids[0])
             .U32(25, ids[1])
             .bytes},
        {"2071 nobody", [&] { return m.SendFileOffer(1, 2, "b", nullptr, 0); },
         Expect(17).U16(0, 2071).U32(4, 1).U32(8, 2).U16(12, 1).Text(16, "b", 1).bytes},
        {"2073", [&] { return m.SendWindowLayout(layout, 12); },
         Expect(16).U16(0, 2073).U8(2, 12).Text(4, layout, 12).bytes},
        {"2076", [&] { return m.SendCommand2076(1); }, Expect(4).U16(0, 2076).U8(2, 1).bytes},
        {"2078", [&] { return m.SendCommand2078(77, 1); },
         Expect(12).U16(0, 2078).U32(4, 77).U8(8, 1).bytes},
        {"2080", [&] { return m.SendCommand2080(77, 3); },
         Expect(12).U16(0, 2080).U32(4, 77).U8(8, 3).bytes},
        {"2081", [&] { return m.SendWhiteboardData(board, 5); },
         Expect(9).U16(0, 2081).U16(2, 5).Text(4, board, 5).bytes},
        {"2088", [&] { return m.SendChat(0, 0x00FF00FF, chat, 24); },
         Expect(44)
             .U16(0, 2088)
             .U32(4, 0)
             .U32(8, self)
             .U32(12, 0x00FF00FF)
             .U16(16, 24)
             .Text(20, chat, 24)
             .bytes},
        {"2090", [&] { return m.SendCameraControl(77, camera, 3); },
         Expect(15).U16(0, 2090).U32(4, 77).U8(8, 3).Text(12, camera, 3).bytes},
        {"2092", [&] { return m.SendKeepAlive(); }, Expect(2).U16(0, 2092).bytes},
        {"2094 item",
         [&] { return m.SendDocumentItem(7, 0x01020304, 9, 0x0A0B, pair, "doc", "c:\\d"); },
         Expect(24 + 4 + 5)
             .U16(0, 2094)
             .U8(2, 1)
             .U8(3, 7)
             .U32(4, 0x01020304)
             .U8(8, 9)
             .U16(10, 0x0A0B)
             .U16(12, 0x0102)
             .U16(14, 0x0304)
             .U8(16, 4)
             .U16(18, 5)
             .Text(24, "doc", 4)
             .Text(28, "c:\\d", 5)
             .bytes},
        {"2094 item without path",
         [&] { return m.SendDocumentItem(0, 0, 0, 0, pair, "x", nullptr); },
         Expect(26)
             .U16(0, 2094)
             .U8(2, 1)
             .U16(12, 0x0102)
             .U16(14, 0x0304)
             .U8(16, 2)
             .Text(24, "x", 2)
             .bytes},
        {"2094 category", [&] { return m.SendDocumentCategory(1, 2, 3, "a", "bc", nullptr); },
         Expect(24 + 2 + 3)
             .U16(0, 2094)
             .U8(3, 1)
             .U32(4, 2)
             .U8(8, 3)
             .U8(16, 2)
             .U16(18, 3)
             .Text(24, "a", 2)
             .Text(26, "bc", 3)
             .bytes},
        {"2096", [&] { return m.SendDocumentDelete(8, 1); },
         Expect(12).U16(0, 2096).U32(4, 8).U8(8, 1).bytes},
        {"2098", [&] { return m.SendDocumentRename(8, 1, "new"); },
         Expect(16).U16(0, 2098).U32(4, 8).U8(8, 1).U8(9, 4).Text(12, "new", 4).bytes},
        {"2100", [&] { return m.SendDocumentListRequest(0xFFFFFFFF, 1); },
         Expect(12).U16(0, 2100).U32(4, 0xFFFFFFFF).U8(8, 1).bytes},
        {"2105", [&] { return m.SendCommand2105(77, 19); },
         Expect(12).U16(0, 2105).U32(4, 77).U8(8, 19).bytes},
        {"2109", [&] { return m.SendBroadcastData(ids, 3, settings, 4); },
         Expect(6 + 12 + 4)
             .U16(0, 2109)
             .U16(2, 3)
             .U16(4, 4)
             .U32(6, ids[0])
             .U32(10, 5)
             .U32(14, 6)
             .Text(18, settings, 4)
             .bytes},
        {"2111", [&] { return m.SendTemporaryHost(77, 2); },
         Expect(12).U16(0, 2111).U32(4, 77).U8(8, 2).bytes},
        {"4353", [&] { return m.SendStopVideoNotice(77, 320, 640); },
         Expect(12).U16(0, 4353).U32(4, 77).U16(8, 320).U16(10, 640).bytes},
        {"4357", [&] { return m.SendMeetingState(state.data()); }, stateOut.bytes},
        {"4358", [&] { return m.SendStartNotice(); }, Expect(2).U16(0, 4358).bytes},
        {"4359", [&] { return m.SendWhiteboardRight(77, 1); },
         Expect(12).U16(0, 4359).U32(4, 77).U8(8, 1).bytes},
        {"4360", [&] { return m.SendRecordRight(77, 1); },
         Expect(12).U16(0, 4360).U32(4, 77).U8(8, 1).bytes},
        {"4361", [&] { return m.SendTextChatRight(77, 1); },
         Expect(12).U16(0, 4361).U32(4, 77).U8(8, 1).bytes},
        {"4368", [&] { return m.SendFileUploadRight(77, 1); },
         Expect(12).U16(0, 4368).U32(4, 77).U8(8, 1).bytes},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sent(c.send), c.expected) << c.name;
}

TEST_F(SendersTest, StaleBytesNeverReachTheWire)
{
    CCommandManager& m = client.manager;
    // A long chat fills the send buffer first; the shorter messages after it
    // carry zeros where their layouts leave bytes open.
    std::vector<uint8_t> secret(2000, 0xEE);
    Sent([&] { return m.SendChat(0, 1, secret.data(), 2000); });
    const uint16_t pair[3] = {1, 2, 3};
    for (const std::vector<uint8_t>& sent :
         {Sent([&] { return m.SendDocumentRename(1, 1, "n"); }),
          Sent([&] { return m.SendDocumentItem(1, 1, 1, 1, pair, "n", "p"); }),
          Sent([&] { return m.SendCameraControl(1, "x", 1); }),
          Sent([&] { return m.SendFileOffer(1, 1, "n", nullptr, 0); }),
          Sent([&] { return m.SendWindowLayout("abcd", 4); })}) {
        for (uint8_t b : sent)
            EXPECT_NE(b, 0xEE);
    }
}

TEST_F(SendersTest, OversizedOrMalformedMessagesAreRefusedUnsent)
{
    CCommandManager& m = client.manager;
    std::vector<uint8_t> big(40000, 1);
    std::vector<uint32_t> many(8000, 1);
    std::string name255(255, 'n'), name254(254, 'n'), longName(33000, 'f');
    const uint16_t pair[3] = {};
    struct
    {
        const char* name;
        std::function<bool()> send;
        bool ok;
    } cases[] = {
        {"2081 at the limit", [&] { return m.SendWhiteboardData(big.data(), 32764); }, true},
        {"2081 over", [&] { return m.SendWhiteboardData(big.data(), 32765); }, false},
        {"2088 over", [&] { return m.SendChat(0, 0, big.data(), 32749); }, false},
        {"2071 with 255 ids", [&] { return m.SendFileOffer(1, 1, "f", many.data(), 255); }, true},
        {"2071 over", [&] { return m.SendFileOffer(1, 1, longName.c_str(), many.data(), 1); },
         false},
        {"2109 over", [&] { return m.SendBroadcastData(many.data(), 8000, big.data(), 1000); },
         false},
        {"2109 no ids", [&] { return m.SendBroadcastData(many.data(), 0, big.data(), 10); }, false},
        {"2109 no data", [&] { return m.SendBroadcastData(many.data(), 2, big.data(), 0); }, false},
        {"2109 null data", [&] { return m.SendBroadcastData(many.data(), 2, nullptr, 4); }, false},
        {"2094 name 254",
         [&] { return m.SendDocumentItem(0, 0, 0, 0, pair, name254.c_str(), "p"); }, true},
        {"2094 name 255",
         [&] { return m.SendDocumentItem(0, 0, 0, 0, pair, name255.c_str(), "p"); }, false},
        {"2094 category 255",
         [&] { return m.SendDocumentCategory(0, 0, 0, name255.c_str(), "", ""); }, false},
        {"2098 name 255", [&] { return m.SendDocumentRename(1, 1, name255.c_str()); }, false},
        {"2098 name 254", [&] { return m.SendDocumentRename(1, 1, name254.c_str()); }, true},
    };
    for (const auto& c : cases) {
        server.ClearFrames();
        EXPECT_EQ(c.send(), c.ok) << c.name;
        ASSERT_TRUE(m.SendKeepAlive());
        ASSERT_TRUE(server.WaitForFrame(CMD_KEEP_ALIVE, client.login.userId, 3000));
        EXPECT_EQ(server.GetFrames().size(), c.ok ? 2u : 1u) << c.name;
    }
}

TEST_F(SendersTest, NoConnectionMeansFalseAndNothingSent)
{
    StandInClient offline;
    EXPECT_FALSE(offline.manager.SendKeepAlive());
    EXPECT_FALSE(offline.manager.SendChat(0, 0, "x", 1));
    EXPECT_FALSE(offline.manager.SendKickUser(1, 10));
    client.manager.Close();
    EXPECT_FALSE(client.manager.SendSpeechRequest());
    EXPECT_FALSE(client.manager.SendMeetingState(std::vector<uint8_t>(1392).data()));
}

TEST_F(SendersTest, ConcurrentSendersProduceWholeFrames)
{
    CCommandManager& m = client.manager;
    const int perThread = 200;
    std::vector<uint8_t> run(3000, 0x42);
    std::thread boards([&] {
        for (int i = 0; i < perThread; ++i)
            m.SendWhiteboardData(run.data(), static_cast<uint16_t>(run.size()));
    });
    std::thread chats([&] {
        for (int i = 0; i < perThread; ++i)
            m.SendChat(0, static_cast<uint32_t>(i), run.data(), 100);
    });
    boards.join();
    chats.join();
    ASSERT_TRUE(m.SendKeepAlive());
    ASSERT_TRUE(server.WaitForFrame(CMD_KEEP_ALIVE, client.login.userId, 5000));
    int relays = 0, chatCount = 0;
    for (const SERVER_FRAME& frame : server.GetFrames()) {
        if (frame.Code() == CMD_RELAY) {
            ++relays;
            EXPECT_EQ(frame.payload.size(), 3004u);
        } else if (frame.Code() == CMD_CHAT) {
            EXPECT_EQ(ReadU32(frame.payload, 12), static_cast<uint32_t>(chatCount));
            ++chatCount;
            EXPECT_EQ(frame.payload.size(), 120u);
        }
    }
    EXPECT_EQ(relays, perThread);
    EXPECT_EQ(chatCount, perThread);
}
