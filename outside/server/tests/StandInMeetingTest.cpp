#include <winsock2.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "CBoardHistory.h"
#include "CTcpLink.h"
#include "CStandInServer.h"
#include "CVideoRelay.h"
#include "StandInTestKit.h"
#include "WireReader.h"

namespace {

typedef std::vector<uint8_t> Bytes;

class StandInMeetingTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }

    void Start() { ASSERT_TRUE(server.Start(0)); }
    std::unique_ptr<StandInClient> Join(const char* user, const char* password, uint32_t room = 1)
    {
        std::unique_ptr<StandInClient> client(new StandInClient());
        EXPECT_TRUE(client->Login(server.GetPort(), user, password, room)) << client->text;
        return client;
    }
    static uint16_t Code(const Bytes& m) { return ReadU16(m, 0); }

    CServerConfig config = StandInTestConfig();
    CStandInServer server{config};
};

std::string Bulletin(const Bytes& state)
{
    return state.size() == MEETING_STATE_SIZE
               ? std::string(reinterpret_cast<const char*>(&state[1304]),
                             strnlen(reinterpret_cast<const char*>(&state[1304]), 84))
               : std::string("(none)");
}

// Whiteboard records: a document opened, a change on it, a page, activated.
Bytes Opened(uint32_t doc, const char* title)
{
    Bytes r(20, 0);
    r[0] = 2;
    memcpy(&r[1], &doc, 4);
    r[13] = 1;
    r[15] = 1;
    r[17] = static_cast<uint8_t>(strlen(title));
    r.insert(r.end(), title, title + strlen(title));
    return r;
}
Bytes DocRecord(uint8_t kind, uint32_t doc, size_t extra = 0)
{
    Bytes r(5 + extra, 0);
    r[0] = kind;
    memcpy(&r[1], &doc, 4);
    return r;
}
Bytes Change(uint32_t doc, uint8_t fill, uint16_t n)
{
    Bytes r = DocRecord(1, doc, 2);
    memcpy(&r[5], &n, 2);
    r.insert(r.end(), n, fill);
    return r;
}
Bytes Concat(std::initializer_list<Bytes> parts)
{
    Bytes all;
    for (const Bytes& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

} // namespace

// Two participants change the meeting state at one moment, 30 times over:
// every participant, the senders too, gets both records in the same order
// and so ends each round holding the same state. A pause before each send
// makes the two changes' sends overlap unless the server keeps them apart.
TEST_F(StandInMeetingTest, MeetingStateChangesAtOneMomentLeaveEverybodyTheSame)
{
    Start();
    server.SetSendPause(30);
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    auto bob = Join("bob", "b");
    StandInClient* clients[] = {host.get(), alice.get(), bob.get()};
    Bytes m;
    for (StandInClient* c : clients) {
        while (c->Next(m, 200)) {}
    }
    for (int round = 0; round < 30; ++round) {
        Bytes first(MEETING_STATE_SIZE, 0), second(MEETING_STATE_SIZE, 0);
        snprintf(reinterpret_cast<char*>(&first[1304]), 80, "host %d", round);
        snprintf(reinterpret_cast<char*>(&second[1304]), 80, "alice %d", round);
        HANDLE go = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        std::thread a([&] {
            WaitForSingleObject(go, 5000);
            host->manager.SendMeetingState(first.data());
        });
        std::thread b([&] {
            WaitForSingleObject(go, 5000);
            alice->manager.SendMeetingState(second.data());
        });
        SetEvent(go);
        a.join();
        b.join();
        CloseHandle(go);
        std::vector<std::string> seen[3];
        for (int i = 0; i < 3; ++i) {
            for (int k = 0; k < 2; ++k) {
                ASSERT_TRUE(clients[i]->WaitFor(CMD_MEETING_STATE_ALL, m, 5000))
                    << "round " << round << " client " << i;
                seen[i].push_back(Bulletin(m));
            }
        }
        EXPECT_EQ(seen[0], seen[1]) << "round " << round;
        EXPECT_EQ(seen[0], seen[2]) << "round " << round;
    }
}

TEST_F(StandInMeetingTest, LateComerGetsTheMeetingSoFar)
{
    config.accounts.push_back({"vice", "v", 1});
    server.Config() = config;
    Start();
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    Bytes m;
    uint32_t hostId = host->login.userId;
    ASSERT_TRUE(host->manager.SendVideoBroadcast(hostId, 1));
    ASSERT_TRUE(host->manager.SendCommand2076(1));
    uint8_t layout[12] = {0, 0, 1, 2, 9, 0, 0, 0};
    memcpy(&layout[8], &hostId, 4);
    ASSERT_TRUE(host->manager.SendWindowLayout(layout, sizeof layout));
    // Document 5 stays open; document 6 opens and closes again.
    Bytes board = Concat({Opened(5, "plan"), Change(5, 0xAB, 3), DocRecord(6, 5, 1),
                          Opened(6, "gone"), Change(6, 0xCD, 2), DocRecord(3, 6), DocRecord(4, 5)});
    ASSERT_TRUE(
        host->manager.SendWhiteboardData(board.data(), static_cast<uint16_t>(board.size())));
    ASSERT_TRUE(host->manager.SendLockMeeting(1));
    ASSERT_TRUE(alice->WaitFor(CMD_LOCK_MEETING, m));

    auto vice = Join("vice", "v");
    std::vector<Bytes> got;
    while (vice->Next(m, 1000))
        got.push_back(m);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_EQ(got[0], (Bytes{0x06, 0x08, 1, 0}));
    EXPECT_EQ(Code(got[1]), CMD_RECEIVE_VIDEO_REPLY);
    EXPECT_EQ(ReadU32(got[1], 4), hostId);
    // The broadcaster's own relay port, the one the others were given.
    ASSERT_NE(nullptr, server.VideoRelay());
    EXPECT_EQ(ReadU16(got[1], 8), server.VideoRelay()->GetSenderPort(hostId));
    EXPECT_NE(0, ReadU16(got[1], 8));
    EXPECT_EQ(got[1][10], 1);
    EXPECT_EQ(Code(got[2]), CMD_SCREEN_BROADCAST_NOTICE);
    EXPECT_EQ(ReadU32(got[2], 4), hostId);
    EXPECT_EQ(got[2][8], 1);
    EXPECT_EQ(Code(got[3]), CMD_WINDOW_LAYOUT);
    EXPECT_EQ(Bytes(got[3].begin() + 4, got[3].end()), Bytes(layout, layout + 12));
    Bytes run =
        Concat({Opened(5, "plan"), Change(5, 0xAB, 3), DocRecord(6, 5, 1), DocRecord(4, 5)});
    EXPECT_EQ(Code(got[4]), CMD_RELAY_RUN);
    EXPECT_EQ(ReadU16(got[4], 2), run.size());
    EXPECT_EQ(Bytes(got[4].begin() + 4, got[4].end()), run);

    // Once the broadcasts end and the document closes, a later comer gets none of them.
    ASSERT_TRUE(host->manager.SendVideoBroadcast(hostId, 0));
    ASSERT_TRUE(host->manager.SendCommand2076(0));
    Bytes close = DocRecord(3, 5);
    ASSERT_TRUE(host->manager.SendWhiteboardData(close.data(), 5));
    ASSERT_TRUE(host->manager.SendLockMeeting(0));
    ASSERT_TRUE(alice->WaitFor(CMD_LOCK_MEETING, m));
    auto bob = Join("bob", "b");
    got.clear();
    while (bob->Next(m, 1000))
        got.push_back(m);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(Code(got[0]), CMD_WINDOW_LAYOUT);
}

TEST_F(StandInMeetingTest, ConnectionsBeyondTheBoundAreRefusedAndTheServerGoesOn)
{
    config.maxConnections = 4;
    server.Config() = config;
    Start();
    auto open = [&] {
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(server.GetPort());
        EXPECT_EQ(connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        return s;
    };
    // Closed by the server: the read ends at once instead of waiting.
    auto closedByServer = [](SOCKET s) {
        DWORD wait = 3000;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
        char byte;
        return recv(s, &byte, 1, 0) == 0;
    };
    std::vector<SOCKET> held;
    for (int i = 0; i < 4; ++i)
        held.push_back(open());
    for (int i = 0; i < 60; ++i) {
        SOCKET extra = open();
        if (i % 20 == 0) {
            EXPECT_TRUE(closedByServer(extra)) << i;
        }
        closesocket(extra);
    }
    for (int i = 0; i < 100 && server.GetRefusedCount() < 60; ++i)
        Sleep(20);
    EXPECT_EQ(server.GetRefusedCount(), 60u);

    for (SOCKET s : held)
        closesocket(s);
    CCommandManager manager;
    char version[12] = {};
    char text[260];
    bool ok = false;
    for (int i = 0; i < 100 && !ok; ++i) {
        ok = manager.GetServerVersion("127.0.0.1", server.GetPort(), version, text);
        if (!ok)
            Sleep(50);
    }
    EXPECT_TRUE(ok) << text;
    EXPECT_STREQ(version, "2.5.0.7");
}

TEST_F(StandInMeetingTest, TriggersSendWhatNoClientCommandMakes)
{
    Start();
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    Bytes m;
    ASSERT_TRUE(host->manager.SendCommand2076(1));
    ASSERT_TRUE(alice->WaitFor(CMD_SCREEN_BROADCAST_NOTICE, m));

    ASSERT_TRUE(server.GrantScreenControl(alice->login.userId, 1));
    ASSERT_TRUE(alice->WaitFor(CMD_SCREEN_CONTROL_GRANT, m));
    ASSERT_EQ(m.size(), 12u);
    EXPECT_EQ(ReadU32(m, 4), host->login.userId);
    EXPECT_EQ(m[8], 1);

    ASSERT_TRUE(server.SetFreeFileSending(1, 0));
    for (StandInClient* c : {host.get(), alice.get()}) {
        ASSERT_TRUE(c->WaitFor(CMD_FREE_FILE_SENDING, m));
        EXPECT_EQ(m, (Bytes{0x16, 0x08, 0, 0}));
    }
    auto bob = Join("bob", "b");
    EXPECT_EQ(bob->login.freeFileSending, 0u);

    ASSERT_TRUE(server.ForceLeave(alice->login.userId, RESULT_ROOM_LOCKED));
    ASSERT_TRUE(alice->WaitFor(CMD_FORCED_LEAVE, m));
    EXPECT_EQ(m, (Bytes{0x3B, 0x08, 0x09, 0x01}));
    ASSERT_TRUE(host->WaitFor(CMD_USER_QUIT, m));
    EXPECT_EQ(ReadU32(m, 4), alice->login.userId);
    EXPECT_TRUE(server.WaitForRoomCount(1, 2, 2000));
    EXPECT_FALSE(server.ForceLeave(alice->login.userId, 1));
    EXPECT_FALSE(server.SetFreeFileSending(99, 1));
}

TEST_F(StandInMeetingTest, SharedDocumentsAreKeptAndListed)
{
    Start();
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    Bytes m;
    uint16_t pair[3] = {4, 0, 6};
    ASSERT_TRUE(host->manager.SendDocumentItem(2, 1354, 1, 3, pair, "plan", "store\\p.kqf"));
    DOC_ITEM item = {};
    for (StandInClient* c : {host.get(), alice.get()}) {
        ASSERT_TRUE(c->WaitFor(CMD_DOCUMENT_ADDED, m));
        WireReader in(m.data(), m.size());
        uint16_t result = 1;
        in.Seek(2);
        in.U16(result);
        ASSERT_TRUE(in.Record(item));
        EXPECT_EQ(result, 0);
        EXPECT_EQ(item.kind, 1);
        EXPECT_EQ(item.entryKind, 2);
        EXPECT_EQ(item.folderId, 1354u);
        EXPECT_EQ(item.flag, 1);
        EXPECT_EQ(item.value, 3);
        EXPECT_EQ(item.valueA, 4);
        EXPECT_EQ(item.valueB, 6);
        ASSERT_EQ(m.size(), 28u + item.nameLength + item.secondNameLength + item.thirdLength);
        EXPECT_EQ(std::string(m.begin() + 28, m.end()), "planstore\\p.kqf");
    }
    ASSERT_TRUE(host->manager.SendDocumentCategory(0, 7, 0, "talk.ppt", "b", "http://x/talk"));
    ASSERT_TRUE(alice->WaitFor(CMD_DOCUMENT_ADDED, m));
    EXPECT_EQ(m[4 + 4], 0);
    ASSERT_TRUE(alice->manager.SendDocumentRename(item.id, 1, "plan2"));
    ASSERT_TRUE(host->WaitFor(CMD_DOCUMENT_RENAMED, m));
    EXPECT_EQ(m, (Bytes{0x33, 0x08, 0, 0, uint8_t(item.id), 0, 0, 0, 1, 5, 0, 0, 'p', 'l', 'a', 'n',
                        '2'}));

    ASSERT_TRUE(alice->manager.SendDocumentListRequest(0xFFFFFFFF, 1));
    ASSERT_TRUE(alice->WaitFor(CMD_DOCUMENT_LIST, m));
    EXPECT_EQ(ReadU16(m, 2), 0);
    EXPECT_EQ(m.size(), 4u + 24 + 5 + 11 + 24 + 8 + 1 + 13);

    ASSERT_TRUE(host->manager.SendDocumentDelete(item.id, 1));
    for (StandInClient* c : {host.get(), alice.get()}) {
        ASSERT_TRUE(c->WaitFor(CMD_DOCUMENT_DELETED, m));
        EXPECT_EQ(ReadU16(m, 2), 0);
        EXPECT_EQ(ReadU32(m, 4), item.id);
    }
    // An item that is not there: the failure goes to the asker alone.
    ASSERT_TRUE(alice->manager.SendDocumentDelete(item.id, 1));
    ASSERT_TRUE(alice->WaitFor(CMD_DOCUMENT_DELETED, m));
    EXPECT_EQ(ReadU16(m, 2), 1);
    std::vector<uint8_t> none;
    EXPECT_FALSE(host->WaitFor(CMD_DOCUMENT_DELETED, none, 300));
}

// The board history as a table: what a room saw, what a late comer gets.
TEST(BoardHistoryTest, KeepsWhatIsOpenAndStopsAtAFaultyRecord)
{
    struct Row
    {
        const char* name;
        Bytes seen;
        Bytes kept;
    };
    Bytes zoom = {5, 150, 0, 100, 0};
    Bytes scroll = {8, 1, 2, 0, 0};
    const Row rows[] = {
        {"nothing", {}, {}},
        {"changes of an unknown document are not kept", Change(9, 1, 2), {}},
        {"an open document with its changes and last page",
         Concat({Opened(1, "a"), Change(1, 1, 2), DocRecord(6, 1, 1), Change(1, 2, 1),
                 DocRecord(6, 1, 1)}),
         Concat({Opened(1, "a"), Change(1, 1, 2), Change(1, 2, 1), DocRecord(6, 1, 1)})},
        {"a closed document is forgotten, with its activation",
         Concat({Opened(1, "a"), Opened(2, "b"), DocRecord(4, 2), DocRecord(3, 2)}),
         Opened(1, "a")},
        {"zoom and scroll, last ones only", Concat({zoom, scroll, zoom}), Concat({zoom, scroll})},
        {"kind 7 stops the walk", Concat({Opened(1, "a"), Bytes{7}, Opened(2, "b")}),
         Opened(1, "a")},
        {"a cut record stops the walk", Concat({Opened(1, "a"), Bytes{1, 1, 0, 0, 0, 9, 0, 1}}),
         Opened(1, "a")},
    };
    for (const Row& row : rows) {
        CBoardHistory history;
        history.Take(row.seen.data(), row.seen.size());
        Bytes got;
        for (const Bytes& run : history.Runs())
            got.insert(got.end(), run.begin(), run.end());
        EXPECT_EQ(got, row.kept) << row.name;
    }
}

TEST(BoardHistoryTest, LongHistoriesComeInRunsOfWholeRecords)
{
    CBoardHistory history;
    Bytes open = Opened(1, "big");
    history.Take(open.data(), open.size());
    Bytes change = Change(1, 0x11, 20000);
    for (int i = 0; i < 10; ++i)
        history.Take(change.data(), change.size());
    auto runs = history.Runs();
    ASSERT_GE(runs.size(), 4u);
    size_t total = 0;
    for (const Bytes& run : runs) {
        EXPECT_LE(run.size(), size_t(CBoardHistory::kRunLimit));
        size_t at = 0;
        while (at < run.size()) {
            size_t n = CBoardHistory::RecordLength(run.data() + at, run.size() - at);
            ASSERT_GT(n, 0u);
            at += n;
        }
        total += run.size();
    }
    EXPECT_EQ(total, open.size() + 10 * change.size());
}
