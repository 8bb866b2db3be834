#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "CConference.h"
#include "CRelayServer.h"
#include "CTickThread.h"
#include "RelayPeer.h"
#include "VSocket.h"

namespace {

// A clock the test ticks by hand.
class ManualTicks : public ITickSource
{
public:
    bool Start(HANDLE tickEvent, uint32_t) override
    {
        m_event = tickEvent;
        return true;
    }
    void Stop() override { m_event = nullptr; }
    void Fire()
    {
        if (m_event)
            SetEvent(m_event);
    }

private:
    HANDLE m_event = nullptr;
};

class RelayTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WSADATA data;
        ASSERT_EQ(0, WSAStartup(MAKEWORD(2, 2), &data));
    }
    void TearDown() override
    {
        m_server.reset();
        WSACleanup();
    }

    void StartServer(const RELAY_LIMITS& limits = RELAY_LIMITS())
    {
        m_server.reset(new CRelayServer(limits, [this] {
            std::unique_ptr<ManualTicks> ticks(new ManualTicks());
            std::lock_guard<std::mutex> lock(m_ticksLock);
            m_ticks.push_back(ticks.get());
            return std::unique_ptr<ITickSource>(std::move(ticks));
        }));
        ASSERT_TRUE(m_server->Start(0));
        m_port = m_server->GetPort();
        ASSERT_NE(0, m_port);
    }

    // Fires the clock of every conference made so far.
    void Tick()
    {
        std::lock_guard<std::mutex> lock(m_ticksLock);
        for (ManualTicks* t : m_ticks)
            t->Fire();
    }

    std::unique_ptr<RelayPeer> Join(uint32_t role, uint32_t id, uint32_t key, int rcvbuf = 0)
    {
        std::unique_ptr<RelayPeer> peer(new RelayPeer(m_port, rcvbuf));
        EXPECT_TRUE(peer->Connected());
        EXPECT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), peer->Join(role, id, key));
        return peer;
    }

    // A source whose stream header is stored, with one listener that has
    // seen it; proves the relay is ready.
    void StartStream(RelayPeer& source, RelayPeer& listener, uint8_t fill = 0x42)
    {
        ASSERT_TRUE(source.Send(Msg::StreamHeader(fill)));
        Bytes got;
        ASSERT_TRUE(listener.Read(got));
        ASSERT_EQ(Msg::StreamHeader(fill), got);
    }

    // A stream of conference 1 with one listener that reads and one that
    // never does, whose small receive buffer leaves its backlog queued.
    void StartStalledStream(const RELAY_LIMITS& limits, std::unique_ptr<RelayPeer>& reader,
                            std::unique_ptr<RelayPeer>& stalled, std::unique_ptr<RelayPeer>& source)
    {
        StartServer(limits);
        reader = Join(RELAY_ROLE_LISTENER, 1, 1);
        stalled = Join(RELAY_ROLE_LISTENER, 1, 1, 4096);
        source = Join(RELAY_ROLE_SOURCE, 1, 1);
        StartStream(*source, *reader);
    }

    std::unique_ptr<CRelayServer> m_server;
    uint16_t m_port = 0;
    std::mutex m_ticksLock;
    std::vector<ManualTicks*> m_ticks;
};

TEST_F(RelayTest, JoinAnswersByRoleAndKey)
{
    StartServer();
    auto first = Join(RELAY_ROLE_LISTENER, 5, 7);

    struct Case
    {
        uint32_t role, id, key;
        int answer; // -1: closed without an answer
    } cases[] = {
        {0, 6, 1, RELAY_ANSWER_ACCEPTED},     // source of a new conference
        {1, 5, 7, RELAY_ANSWER_ACCEPTED},     // listener with the right key
        {0x101, 5, 7, RELAY_ANSWER_ACCEPTED}, // only the low byte is the role
        {1, 5, 9, RELAY_ANSWER_REFUSED},      // wrong key
        {0, 5, 9, RELAY_ANSWER_REFUSED},
        {2, 5, 7, -1}, // bad role
        {0xFF, 8, 7, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "role " << c.role << " id " << c.id << " key " << c.key);
        RelayPeer peer(m_port);
        EXPECT_EQ(c.answer, peer.Join(c.role, c.id, c.key));
        if (c.answer != RELAY_ANSWER_ACCEPTED) {
            EXPECT_TRUE(peer.SeesClose());
        }
    }
    // A bad role creates no conference.
    EXPECT_EQ(2u, m_server->GetConferenceCount());
}

TEST_F(RelayTest, SilentJoinTimesOutAndServerGoesOn)
{
    RELAY_LIMITS limits;
    limits.joinTimeoutMs = 200;
    StartServer(limits);
    RelayPeer silent(m_port);
    ASSERT_TRUE(silent.Send(Bytes(8, 0))); // half a join head
    EXPECT_TRUE(silent.SeesClose(2000));
    auto late = Join(RELAY_ROLE_LISTENER, 1, 1);
    EXPECT_TRUE(late->Quiet(50));
}

TEST_F(RelayTest, StreamHeaderIsStoredPatchedAndReplayedToLateListeners)
{
    StartServer();
    auto early = Join(RELAY_ROLE_LISTENER, 3, 3);
    auto source = Join(RELAY_ROLE_SOURCE, 3, 3);
    // The early listener gets nothing before the header, then the header itself.
    EXPECT_TRUE(early->Quiet(50));
    StartStream(*source, *early, 0x42);

    // A second header is relayed but not stored.
    ASSERT_TRUE(source->Send(Msg::StreamHeader(0x77)));
    ASSERT_TRUE(source->Send(Msg::Newbuf()));
    ASSERT_TRUE(source->Send(Msg::ValueMarker(0xA1A2, 0xB1B2)));
    ASSERT_TRUE(source->Send(Msg::Format(0xCC)));
    // A value marker that does not follow a newbuf changes nothing.
    ASSERT_TRUE(source->Send(Msg::ValueMarker(0x0101, 0x0202)));
    Bytes got;
    for (const Bytes& expected :
         {Msg::StreamHeader(0x77), Msg::Newbuf(), Msg::ValueMarker(0xA1A2, 0xB1B2),
          Msg::Format(0xCC), Msg::ValueMarker(0x0101, 0x0202)}) {
        ASSERT_TRUE(early->Read(got));
        EXPECT_EQ(expected, got); // forwarded unchanged
    }

    auto late = Join(RELAY_ROLE_LISTENER, 3, 3);
    ASSERT_TRUE(late->Read(got));
    Bytes header = Msg::StreamHeader(0x42);
    header[6] = 0xA2;
    header[7] = 0xA1; // A
    header[8] = 0xB2;
    header[9] = 0xB1; // B
    memset(header.data() + 10, 0xCC, 16);
    EXPECT_EQ(header, got);
    ASSERT_TRUE(source->Send(Msg::Data(1)));
    ASSERT_TRUE(late->Read(got));
    EXPECT_EQ(Msg::Data(1), got);
}

TEST_F(RelayTest, SourceMustOpenWithItsStreamHeader)
{
    StartServer();
    const Bytes openers[] = {Msg::Data(1), Msg::Format(1), Msg::Newbuf(), Msg::Raw({})};
    for (const Bytes& opener : openers) {
        SCOPED_TRACE(opener.size());
        auto listener = Join(RELAY_ROLE_LISTENER, 4, 4);
        auto source = Join(RELAY_ROLE_SOURCE, 4, 4);
        ASSERT_TRUE(source->Send(opener));
        EXPECT_TRUE(source->SeesClose());
        EXPECT_TRUE(listener->SeesClose()); // the conference loses its listeners
    }
}

TEST_F(RelayTest, SecondSourceReplacesFirstAndDropsListeners)
{
    StartServer();
    auto listener = Join(RELAY_ROLE_LISTENER, 9, 1);
    auto first = Join(RELAY_ROLE_SOURCE, 9, 1);
    StartStream(*first, *listener);
    auto second = Join(RELAY_ROLE_SOURCE, 9, 1);
    EXPECT_TRUE(first->SeesClose());
    EXPECT_TRUE(listener->SeesClose());

    // The new source starts a fresh stream: no stored header for newcomers.
    auto newcomer = Join(RELAY_ROLE_LISTENER, 9, 1);
    EXPECT_TRUE(newcomer->Quiet(50));
    StartStream(*second, *newcomer, 0x99);
}

TEST_F(RelayTest, SourceLostDuringABurstDoesNotHoldBackTheNext)
{
    StartServer();
    auto listener = Join(RELAY_ROLE_LISTENER, 9, 1);
    auto first = Join(RELAY_ROLE_SOURCE, 9, 1);
    StartStream(*first, *listener);
    ASSERT_TRUE(first->Send(Msg::Update())); // a burst that never ends
    Bytes got;
    ASSERT_TRUE(listener->Read(got));
    first->Close();
    EXPECT_TRUE(listener->SeesClose());

    auto next = Join(RELAY_ROLE_LISTENER, 9, 1);
    auto second = Join(RELAY_ROLE_SOURCE, 9, 1);
    StartStream(*second, *next, 0x31);
}

TEST_F(RelayTest, ListenerMessagesGoToTheSourceUnchanged)
{
    StartServer();
    auto listener = Join(RELAY_ROLE_LISTENER, 2, 2);
    auto source = Join(RELAY_ROLE_SOURCE, 2, 2);
    StartStream(*source, *listener);
    const Bytes notes[] = {Msg::Data(7, 100), Msg::Raw({}),
                           Msg::Sized(16, 3)}; // last: no refresh tag
    for (const Bytes& note : notes) {
        ASSERT_TRUE(listener->Send(note));
        Bytes got;
        ASSERT_TRUE(source->Read(got));
        EXPECT_EQ(note, got);
    }
}

TEST_F(RelayTest, ListenerWithoutSourceIsRemovedOnlyForNonRefreshMessages)
{
    StartServer();
    auto listener = Join(RELAY_ROLE_LISTENER, 2, 2);
    ASSERT_TRUE(listener->Send(Msg::Refresh(1)));
    EXPECT_TRUE(listener->Quiet(100));
    ASSERT_TRUE(listener->Send(Msg::Data(1)));
    EXPECT_TRUE(listener->SeesClose());
}

TEST_F(RelayTest, RefreshRequestsAreMergedAndPaced)
{
    StartServer();
    auto l1 = Join(RELAY_ROLE_LISTENER, 6, 6);
    auto l2 = Join(RELAY_ROLE_LISTENER, 6, 6);
    auto source = Join(RELAY_ROLE_SOURCE, 6, 6);
    StartStream(*source, *l1);
    Bytes got;
    ASSERT_TRUE(l2->Read(got));
    ASSERT_TRUE(source->Send(Msg::Newbuf()));
    ASSERT_TRUE(source->Send(Msg::ValueMarker(0x0A0B, 0x0C0D)));
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(l1->Read(got));
        ASSERT_TRUE(l2->Read(got));
    }
    Bytes flag0(16), flag1(16);
    RelayMessage::BuildRefresh(flag0.data(), 16, 0, 0x0A0B, 0x0C0D);
    RelayMessage::BuildRefresh(flag1.data(), 16, 1, 0x0A0B, 0x0C0D);

    // The first request goes out at once, with the stream's A and B.
    ASSERT_TRUE(l1->Send(Msg::Refresh(1)));
    ASSERT_TRUE(source->Read(got));
    EXPECT_EQ(flag1, got);

    // Then one request of two listeners waits; the second completes it.
    ASSERT_TRUE(l1->Send(Msg::Refresh(1)));
    EXPECT_TRUE(source->Quiet(100));
    ASSERT_TRUE(l2->Send(Msg::Refresh(1)));
    ASSERT_TRUE(source->Read(got));
    EXPECT_EQ(flag1, got);

    // A flag-0 request waits for the clock, and any flag 0 wins the merge.
    ASSERT_TRUE(l1->Send(Msg::Refresh(0)));
    EXPECT_TRUE(source->Quiet(100));
    Tick();
    ASSERT_TRUE(source->Read(got));
    EXPECT_EQ(flag0, got);
    EXPECT_TRUE(source->Quiet(50)); // merged into one
}

TEST_F(RelayTest, BurstEndReleasesAPendingRefreshOnTheNextTick)
{
    StartServer();
    auto l1 = Join(RELAY_ROLE_LISTENER, 6, 6);
    auto l2 = Join(RELAY_ROLE_LISTENER, 6, 6);
    auto source = Join(RELAY_ROLE_SOURCE, 6, 6);
    StartStream(*source, *l1);
    Bytes got;
    ASSERT_TRUE(l2->Read(got));
    ASSERT_TRUE(l1->Send(Msg::Refresh(1))); // first goes out at once
    ASSERT_TRUE(source->Read(got));
    ASSERT_TRUE(l1->Send(Msg::Refresh(1)));
    EXPECT_TRUE(source->Quiet(50));
    Tick();
    EXPECT_TRUE(source->Quiet(100)); // a tick alone is not enough
    ASSERT_TRUE(source->Send(Msg::Update()));
    ASSERT_TRUE(source->Send(Msg::BurstEnd()));
    ASSERT_TRUE(source->Read(got));
    EXPECT_EQ(3, got[4]);
    EXPECT_EQ(1, got[5]);
}

TEST_F(RelayTest, BurstSkipsAListenerThatIsFarBehind)
{
    RELAY_LIMITS limits;
    limits.sendBufferBytes = 4096; // the queue, not the system, holds the backlog
    std::unique_ptr<RelayPeer> reader, stalled, source;
    ASSERT_NO_FATAL_FAILURE(StartStalledStream(limits, reader, stalled, source));

    std::vector<Bytes> before, after;
    for (uint8_t i = 0; i < 24; ++i)
        before.push_back(Msg::Data(i, 16384));
    const std::vector<Bytes> burst = {Msg::Update(), Msg::Data(100), Msg::Data(101),
                                      Msg::BurstEnd()};
    after.push_back(Msg::Data(200));

    Bytes got;
    for (const Bytes& m : before)
        ASSERT_TRUE(source->Send(m));
    for (const Bytes& m : before) { // every copy is queued once the reader has it
        ASSERT_TRUE(reader->Read(got));
        ASSERT_EQ(m, got);
    }
    for (const Bytes& m : burst)
        ASSERT_TRUE(source->Send(m));
    ASSERT_TRUE(source->Send(after[0]));
    for (const Bytes& m : burst) {
        ASSERT_TRUE(reader->Read(got));
        EXPECT_EQ(m, got);
    }
    ASSERT_TRUE(reader->Read(got));
    EXPECT_EQ(after[0], got);

    // The stalled listener catches up: the backlog, then the stream after the burst.
    ASSERT_TRUE(stalled->Read(got));
    EXPECT_EQ(Msg::StreamHeader(0x42), got);
    for (const Bytes& m : before) {
        ASSERT_TRUE(stalled->Read(got));
        ASSERT_EQ(m, got);
    }
    ASSERT_TRUE(stalled->Read(got));
    EXPECT_EQ(after[0], got);
}

TEST_F(RelayTest, ListenerThatStopsReadingIsDroppedAtTheQueueCap)
{
    RELAY_LIMITS limits;
    limits.sendBufferBytes = 4096;
    limits.maxQueuedBytes = 256 * 1024;
    std::unique_ptr<RelayPeer> reader, stalled, source;
    ASSERT_NO_FATAL_FAILURE(StartStalledStream(limits, reader, stalled, source));
    Bytes got;
    for (uint8_t i = 0; i < 64; ++i) { // 1 MB, four times the cap
        ASSERT_TRUE(source->Send(Msg::Data(i, 16384)));
        ASSERT_TRUE(reader->Read(got));
        ASSERT_EQ(Msg::Data(i, 16384), got);
    }
    EXPECT_TRUE(stalled->SeesClose());
    // The stream goes on for the others.
    ASSERT_TRUE(source->Send(Msg::Data(1)));
    ASSERT_TRUE(reader->Read(got));
    EXPECT_EQ(Msg::Data(1), got);
}

TEST_F(RelayTest, ListenerThatFloodsASlowSourceIsDropped)
{
    RELAY_LIMITS limits;
    limits.sendBufferBytes = 4096;
    limits.maxQueuedBytes = 256 * 1024;
    StartServer(limits);
    auto flooder = Join(RELAY_ROLE_LISTENER, 1, 1);
    auto other = Join(RELAY_ROLE_LISTENER, 1, 1);
    auto source = Join(RELAY_ROLE_SOURCE, 1, 1, 4096); // never reads
    StartStream(*source, *flooder);
    Bytes got;
    ASSERT_TRUE(other->Read(got));
    for (uint8_t i = 0; i < 64; ++i) {
        if (!flooder->Send(Msg::Data(i, 16384)))
            break; // already dropped
    }
    EXPECT_TRUE(flooder->SeesClose());
    // The source and the other listener stay.
    ASSERT_TRUE(source->Send(Msg::Data(1)));
    ASSERT_TRUE(other->Read(got));
    EXPECT_EQ(Msg::Data(1), got);
}

TEST_F(RelayTest, UnreadableLengthsCloseOnlyThatConnection)
{
    RELAY_LIMITS limits;
    limits.maxPayload = 65536;
    StartServer(limits);
    const uint32_t lengths[] = {0xFFFFFFFFu, 0xFFFFFFFCu, 0x80000000u, 65537u};
    for (uint32_t length : lengths) {
        SCOPED_TRACE(length);
        auto listener = Join(RELAY_ROLE_LISTENER, 1, 1);
        auto source = Join(RELAY_ROLE_SOURCE, 1, 1);
        StartStream(*source, *listener);

        // From a listener: that listener goes, the stream stays.
        auto bad = Join(RELAY_ROLE_LISTENER, 1, 1);
        Bytes got;
        ASSERT_TRUE(bad->Read(got)); // stored header
        Bytes head(4);
        WireWriter(head.data(), 4).U32(length);
        ASSERT_TRUE(bad->Send(head));
        EXPECT_TRUE(bad->SeesClose());
        ASSERT_TRUE(source->Send(Msg::Data(3)));
        ASSERT_TRUE(listener->Read(got));
        EXPECT_EQ(Msg::Data(3), got);

        // From the source: the source goes, with its listeners.
        ASSERT_TRUE(source->Send(head));
        EXPECT_TRUE(source->SeesClose());
        EXPECT_TRUE(listener->SeesClose());
    }
    // The largest allowed message still passes, and an empty one too.
    auto listener = Join(RELAY_ROLE_LISTENER, 1, 1);
    auto source = Join(RELAY_ROLE_SOURCE, 1, 1);
    StartStream(*source, *listener);
    for (const Bytes& m : {Msg::Data(9, 65536 + 4), Msg::Raw({})}) {
        ASSERT_TRUE(source->Send(m));
        Bytes got;
        ASSERT_TRUE(listener->Read(got));
        EXPECT_EQ(m, got);
    }
}

// Messages that reach the relay in one piece, or split anywhere, are
// relayed as they were sent, each one whole and in order; the stream state
// they change is that of each message in turn.
TEST_F(RelayTest, MessagesThatArriveTogetherOrSplitAreRelayedWholeAndInOrder)
{
    StartServer();
    auto listener = Join(RELAY_ROLE_LISTENER, 6, 6);
    auto source = Join(RELAY_ROLE_SOURCE, 6, 6);
    StartStream(*source, *listener);

    // Several messages in one write, one larger than the receive buffer,
    // and one whose length field and payload come in separate writes.
    const std::vector<Bytes> messages = {
        Msg::Data(1),      Msg::Newbuf(),       Msg::ValueMarker(0xA1A2, 0xB1B2),
        Msg::Format(0xCC), Msg::Data(2, 40000), Msg::Raw({}),
        Msg::Data(3),      Msg::Data(4, 5000),  Msg::Data(5)};
    Bytes together;
    for (const Bytes& m : messages)
        together.insert(together.end(), m.begin(), m.end());
    const size_t splits[] = {together.size() - 2, together.size() - 64 - 1, 6, 3};
    for (size_t split : splits) {
        SCOPED_TRACE(split);
        ASSERT_TRUE(source->Send(Bytes(together.begin(), together.begin() + split)));
        EXPECT_TRUE(source->Quiet(50)); // read apart from the rest
        ASSERT_TRUE(source->Send(Bytes(together.begin() + split, together.end())));
        Bytes got;
        for (const Bytes& expected : messages) {
            ASSERT_TRUE(listener->Read(got));
            ASSERT_EQ(expected, got);
        }
    }
    // The value marker and the format of a batch patch the stored header.
    auto late = Join(RELAY_ROLE_LISTENER, 6, 6);
    Bytes got;
    ASSERT_TRUE(late->Read(got));
    Bytes header = Msg::StreamHeader(0x42);
    header[6] = 0xA2;
    header[7] = 0xA1;
    header[8] = 0xB2;
    header[9] = 0xB1;
    memset(header.data() + 10, 0xCC, 16);
    EXPECT_EQ(header, got);

    // A listener's messages in one write are each handled: both notes go
    // to the source, and the refresh request between them too.
    const Bytes notes = Msg::Data(7);
    Bytes batch = notes;
    const Bytes refresh = Msg::Refresh(1);
    batch.insert(batch.end(), refresh.begin(), refresh.end());
    const Bytes last = Msg::Data(8);
    batch.insert(batch.end(), last.begin(), last.end());
    ASSERT_TRUE(late->Send(batch));
    // The request goes out from the conference's own thread, so it may
    // come before, between or after the notes.
    std::vector<Bytes> passed;
    int requests = 0;
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(source->Read(got));
        if (got.size() == 16 && got[4] == RELAY_KIND_REFRESH)
            ++requests;
        else
            passed.push_back(got);
    }
    EXPECT_EQ(1, requests);
    EXPECT_EQ((std::vector<Bytes>{notes, last}), passed);
}

// A burst and what follows it, read by the relay in one piece: the burst
// goes to the listeners near the front only, the stream after its end to
// every listener again.
TEST_F(RelayTest, BurstReadInOnePieceStillSkipsAListenerFarBehind)
{
    RELAY_LIMITS limits;
    limits.sendBufferBytes = 4096;
    std::unique_ptr<RelayPeer> reader, stalled, source;
    ASSERT_NO_FATAL_FAILURE(StartStalledStream(limits, reader, stalled, source));
    Bytes got;
    std::vector<Bytes> before;
    for (uint8_t i = 0; i < 24; ++i) {
        before.push_back(Msg::Data(i, 16384));
        ASSERT_TRUE(source->Send(before.back()));
        ASSERT_TRUE(reader->Read(got));
        ASSERT_EQ(before.back(), got);
    }
    const std::vector<Bytes> lead = {Msg::Data(99)};
    const std::vector<Bytes> burst = {Msg::Update(), Msg::Data(100), Msg::Data(101),
                                      Msg::BurstEnd()};
    const std::vector<Bytes> after = {Msg::Data(200), Msg::Data(201)};
    Bytes together;
    for (const auto* part : {&lead, &burst, &after})
        for (const Bytes& m : *part)
            together.insert(together.end(), m.begin(), m.end());
    ASSERT_TRUE(source->Send(together));
    for (const auto* part : {&lead, &burst, &after}) {
        for (const Bytes& m : *part) {
            ASSERT_TRUE(reader->Read(got));
            EXPECT_EQ(m, got);
        }
    }
    ASSERT_TRUE(stalled->Read(got));
    EXPECT_EQ(Msg::StreamHeader(0x42), got);
    for (const Bytes& m : before) {
        ASSERT_TRUE(stalled->Read(got));
        ASSERT_EQ(m, got);
    }
    for (const auto* part : {&lead, &after}) {
        for (const Bytes& m : *part) {
            ASSERT_TRUE(stalled->Read(got));
            EXPECT_EQ(m, got);
        }
    }
    EXPECT_TRUE(stalled->Quiet(50));
}

TEST_F(RelayTest, ConferenceCountIsCappedAndEmptyOnesMakeRoom)
{
    RELAY_LIMITS limits;
    limits.maxConferences = 2;
    StartServer(limits);
    auto a = Join(RELAY_ROLE_SOURCE, 1, 1);
    auto b = Join(RELAY_ROLE_LISTENER, 2, 2);
    RelayPeer refused(m_port);
    EXPECT_EQ(static_cast<int>(RELAY_ANSWER_REFUSED), refused.Join(RELAY_ROLE_SOURCE, 3, 3));
    EXPECT_TRUE(refused.SeesClose());

    // Conference 2 empties (its listener leaves) and is ended to make room.
    ASSERT_TRUE(b->Send(Msg::Data(1))); // no source: removed
    EXPECT_TRUE(b->SeesClose());
    DWORD start = GetTickCount();
    std::unique_ptr<RelayPeer> c;
    int answer = -1;
    while (answer != static_cast<int>(RELAY_ANSWER_ACCEPTED) && GetTickCount() - start < 2000) {
        c.reset(new RelayPeer(m_port));
        answer = c->Join(RELAY_ROLE_SOURCE, 3, 3);
    }
    EXPECT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), answer);
    EXPECT_EQ(2u, m_server->GetConferenceCount());
    // Conference 1 kept its key.
    RelayPeer wrong(m_port);
    EXPECT_EQ(static_cast<int>(RELAY_ANSWER_REFUSED), wrong.Join(RELAY_ROLE_LISTENER, 1, 5));
}

TEST_F(RelayTest, CloseDisconnectsEveryPeer)
{
    StartServer();
    auto l1 = Join(RELAY_ROLE_LISTENER, 1, 1);
    auto s1 = Join(RELAY_ROLE_SOURCE, 1, 1);
    auto l2 = Join(RELAY_ROLE_LISTENER, 2, 2);
    StartStream(*s1, *l1);
    RelayPeer halfJoined(m_port); // the join head is awaited for 5 s
    ASSERT_TRUE(halfJoined.Send(Bytes(4, 0)));
    Sleep(50);
    DWORD start = GetTickCount();
    m_server->Close();
    EXPECT_LT(GetTickCount() - start, 2000u);
    for (RelayPeer* p : {l1.get(), s1.get(), l2.get(), &halfJoined})
        EXPECT_TRUE(p->SeesClose());
    RelayPeer after(m_port);
    EXPECT_FALSE(after.Connected());
}

TEST_F(RelayTest, SlowAndSilentJoinersDelayNoOtherJoin)
{
    StartServer(); // the join head is awaited for 5 s
    std::vector<std::unique_ptr<RelayPeer>> slow;
    for (int i = 0; i < 8; ++i) {
        slow.emplace_back(new RelayPeer(m_port));
        ASSERT_TRUE(slow.back()->Send(Bytes(static_cast<size_t>(i % 3) * 5, 1)));
    }
    Sleep(50);
    const DWORD start = GetTickCount();
    auto listener = Join(RELAY_ROLE_LISTENER, 1, 1);
    auto source = Join(RELAY_ROLE_SOURCE, 1, 1);
    // Waiting behind even one slow joiner would take its whole 5 s; the
    // bound leaves room for a busy machine.
    EXPECT_LT(GetTickCount() - start, 4000u) << "a valid join waited for the slow ones";
    StartStream(*source, *listener);
}

TEST_F(RelayTest, ConnectionsBeyondTheServersBoundAreClosed)
{
    RELAY_LIMITS limits;
    limits.maxConnections = 4;
    StartServer(limits);
    std::vector<std::unique_ptr<RelayPeer>> peers;
    for (int i = 0; i < 4; ++i)
        peers.push_back(Join(RELAY_ROLE_LISTENER, 1, 1));
    RelayPeer extra(m_port);
    EXPECT_EQ(-1, extra.Join(RELAY_ROLE_LISTENER, 1, 1));
    EXPECT_EQ(4u, m_server->GetConnectionCount());
    // One leaves (no source: its message removes it), and the place is free again.
    ASSERT_TRUE(peers[0]->Send(Msg::Data(1)));
    EXPECT_TRUE(peers[0]->SeesClose());
    int answer = -1;
    const DWORD start = GetTickCount();
    while (answer != static_cast<int>(RELAY_ANSWER_ACCEPTED) && GetTickCount() - start < 3000) {
        RelayPeer again(m_port);
        answer = again.Join(RELAY_ROLE_LISTENER, 2, 2);
    }
    EXPECT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), answer);
}

// A hostile source with listeners that never read: the server's memory stays
// within its bound, the listeners that would pass it are dropped, and other
// conferences go on.
TEST_F(RelayTest, QueuedBytesOfTheWholeServerStayWithinTheBound)
{
    RELAY_LIMITS limits;
    limits.sendBufferBytes = 4096;
    limits.maxQueuedBytes = 1u << 20;
    limits.maxTotalQueuedBytes = 3u << 20;
    StartServer(limits);
    auto reader = Join(RELAY_ROLE_LISTENER, 2, 2);
    auto otherSource = Join(RELAY_ROLE_SOURCE, 2, 2);
    StartStream(*otherSource, *reader);
    std::vector<std::unique_ptr<RelayPeer>> stalled;
    for (int i = 0; i < 12; ++i)
        stalled.push_back(Join(RELAY_ROLE_LISTENER, 1, 1, 4096));
    auto source = Join(RELAY_ROLE_SOURCE, 1, 1);
    ASSERT_TRUE(source->Send(Msg::StreamHeader(0x42)));
    size_t most = 0;
    for (uint8_t i = 0; i < 48; ++i) { // 3 MB to each of 12 listeners
        if (!source->Send(Msg::Data(i, 65536)))
            break;
        most = std::max(most, m_server->GetQueuedBytes());
    }
    Sleep(100);
    most = std::max(most, m_server->GetQueuedBytes());
    printf("most bytes queued at once: %u\n", static_cast<unsigned>(most));
    EXPECT_LE(most, limits.maxTotalQueuedBytes);
    int dropped = 0;
    for (auto& l : stalled)
        dropped += l->SeesClose() ? 1 : 0;
    EXPECT_GE(dropped, 9) << "listeners beyond the bound must go";
    Bytes got;
    ASSERT_TRUE(otherSource->Send(Msg::Data(7)));
    ASSERT_TRUE(reader->Read(got));
    EXPECT_EQ(Msg::Data(7), got);
}

// Conferences with nothing to do cost nothing: a source that sends
// nothing, a listener that asks nothing, and a conference of a lone
// listener whose refresh request cannot go anywhere leave their threads
// asleep, whatever time passes.
TEST_F(RelayTest, IdleConferencesLeaveTheirThreadsAsleep)
{
    StartServer();
    auto source = Join(RELAY_ROLE_SOURCE, 4, 4);
    auto listener = Join(RELAY_ROLE_LISTENER, 4, 4);
    auto alone = Join(RELAY_ROLE_LISTENER, 5, 5);
    ASSERT_TRUE(alone->Send(Msg::Refresh(0)));
    EXPECT_TRUE(alone->Quiet(100));
    ASSERT_EQ(2u, m_server->GetConferenceCount());
    const uint32_t before = m_server->GetConferenceWakes();
    EXPECT_TRUE(listener->Quiet(300));
    // A thread that looked every few milliseconds would have woken dozens
    // of times by now, even on a loaded machine.
    EXPECT_LE(m_server->GetConferenceWakes() - before, 2u);
}

// A server that nobody joins leaves its listen thread asleep; connections
// that come all at once, each with its join head already sent, are all
// taken and answered at once.
TEST_F(RelayTest, ListenThreadSleepsUntilConnectionsComeAndTakesAllThatWait)
{
    StartServer();
    auto first = Join(RELAY_ROLE_LISTENER, 1, 1);
    const uint32_t before = m_server->GetListenWakes();
    EXPECT_TRUE(first->Quiet(500));
    // A thread that looked every few tens of milliseconds would have woken
    // several times by now; one that sleeps wakes at most once a second.
    EXPECT_LE(m_server->GetListenWakes() - before, 1u);

    std::vector<std::unique_ptr<RelayPeer>> peers;
    for (uint32_t i = 0; i < 16; ++i) {
        peers.emplace_back(new RelayPeer(m_port));
        ASSERT_TRUE(peers.back()->Connected());
        ASSERT_TRUE(peers.back()->SendJoinHead(RELAY_ROLE_LISTENER, 2 + i % 2, 2 + i % 2));
    }
    const DWORD start = GetTickCount();
    for (auto& peer : peers)
        EXPECT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED), peer->ReadAnswer());
    // Taking one waiting connection per idle wake would take many seconds.
    EXPECT_LT(GetTickCount() - start, 4000u);
}

// The production clock: every conference the limit allows can be open at
// once, as many as the server is made for.
TEST_F(RelayTest, AllSixtyFourConferencesRunOnTheServersOwnClock)
{
    RELAY_LIMITS limits;
    m_server.reset(new CRelayServer(limits, CTickThread::Factory(CConference::TICK_PERIOD_MS)));
    ASSERT_TRUE(m_server->Start(0));
    m_port = m_server->GetPort();
    std::vector<std::unique_ptr<RelayPeer>> sources;
    for (uint32_t id = 1; id <= limits.maxConferences; ++id) {
        sources.emplace_back(new RelayPeer(m_port));
        ASSERT_EQ(static_cast<int>(RELAY_ANSWER_ACCEPTED),
                  sources.back()->Join(RELAY_ROLE_SOURCE, id, id))
            << "conference " << id;
    }
    EXPECT_EQ(static_cast<size_t>(limits.maxConferences), m_server->GetConferenceCount());
    RelayPeer refused(m_port);
    EXPECT_EQ(static_cast<int>(RELAY_ANSWER_REFUSED), refused.Join(RELAY_ROLE_SOURCE, 999, 1));
    // The clock paces a refresh request of the last conference.
    auto listener = Join(RELAY_ROLE_LISTENER, limits.maxConferences, limits.maxConferences);
    StartStream(*sources.back(), *listener);
    ASSERT_TRUE(listener->Send(Msg::Refresh(1)));
    Bytes got;
    EXPECT_TRUE(sources.back()->Read(got, 3000));
}

// One connection over the loop-back address with small buffers on both
// sides, so that the socket soon takes only part of what is queued and the
// rest waits in the queue. The peer's reads fail after 10 s instead of
// hanging on a lost byte.
struct SmallBufferConnection
{
    SmallBufferConnection() { m_started = WSAStartup(MAKEWORD(2, 2), &m_wsa) == 0; }
    ~SmallBufferConnection()
    {
        server.reset();
        peer.Close();
        m_listener.Close();
        if (m_started)
            WSACleanup();
    }

    void Open()
    {
        ASSERT_TRUE(m_started);
        ASSERT_TRUE(m_listener.Create());
        ASSERT_TRUE(m_listener.Bind(0, true));
        ASSERT_TRUE(m_listener.Listen());
        ASSERT_TRUE(peer.Create());
        int small = 4096;
        setsockopt(peer.GetHandle(), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&small),
                   sizeof small);
        ASSERT_TRUE(peer.Connect("127.0.0.1", m_listener.GetLocalPort()));
        peer.SetTimeouts(10000, 0);
        server.reset(m_listener.Accept(5000));
        ASSERT_TRUE(server);
        server->SetSendBuffer(4096);
    }

    VSocket peer;
    std::unique_ptr<VSocket> server;

private:
    WSADATA m_wsa;
    bool m_started = false;
    VSocket m_listener;
};

} // namespace

// Bytes sent at once from the caller's thread and bytes left to the
// connection's thread, because the peer reads late or the socket takes only
// part of them, reach the peer whole and in order.
TEST(RelayConnection, BytesSentAtOnceAndBytesQueuedArriveInOrder)
{
    SmallBufferConnection connection;
    ASSERT_NO_FATAL_FAILURE(connection.Open());
    VSocket& peer = connection.peer;
    VSocket* server = connection.server.get();

    const size_t sizes[] = {1, 100, 4095, 4096, 4097, 16384, 70000, 3, 32768, 32769, 500};
    std::vector<uint8_t> expected;
    size_t read = 0;
    uint8_t seed = 1;
    for (int round = 0; round < 3; ++round) {
        for (size_t size : sizes) {
            std::vector<uint8_t> message(size);
            for (uint8_t& b : message)
                b = seed++;
            ASSERT_TRUE(server->QueueSend(message.data(), message.size(), false)) << size;
            expected.insert(expected.end(), message.begin(), message.end());
        }
        // Between rounds the peer reads all: the next round finds the queue
        // empty again and starts by sending at once.
        std::vector<uint8_t> got(expected.size() - read);
        ASSERT_EQ(static_cast<int>(got.size()), peer.ReceiveExact(got.data(), got.size()));
        ASSERT_TRUE(std::equal(got.begin(), got.end(), expected.begin() + read))
            << "round " << round;
        read = expected.size();
        for (DWORD start = GetTickCount();
             server->GetQueuedBytes() && GetTickCount() - start < 5000;)
            Sleep(5);
        EXPECT_EQ(0u, server->GetQueuedBytes());
    }
    EXPECT_FALSE(server->IsDropped());
}

// A connection whose peer does not read sleeps until the socket takes
// bytes again: it does not look every millisecond while it lags, and
// everything queued arrives once the peer reads.
TEST(RelayConnection, ConnectionWaitingForAPeerThatReadsLateSleeps)
{
    SmallBufferConnection connection;
    ASSERT_NO_FATAL_FAILURE(connection.Open());
    VSocket& peer = connection.peer;
    VSocket* server = connection.server.get();

    std::vector<uint8_t> sent;
    for (int i = 0; i < 64; ++i) {
        std::vector<uint8_t> message(4096, static_cast<uint8_t>(i));
        ASSERT_TRUE(server->QueueSend(message.data(), message.size(), false));
        sent.insert(sent.end(), message.begin(), message.end());
    }
    ASSERT_GT(server->GetQueuedBytes(), 0u);
    const uint32_t before = server->GetWakeCount();
    Sleep(300);
    // A thread that retried every few milliseconds would have woken dozens
    // of times by now, even on a loaded machine.
    EXPECT_LE(server->GetWakeCount() - before, 5u);
    std::vector<uint8_t> got(sent.size());
    ASSERT_EQ(static_cast<int>(got.size()), peer.ReceiveExact(got.data(), got.size()));
    EXPECT_TRUE(got == sent);
    EXPECT_FALSE(server->IsDropped());
}

// Reads that find the socket emptied by the one before them wait for the
// system's notice instead of asking first: bytes that came before such a
// read, bytes that come while it waits and bytes left over by a read that
// took only part are all read at once, in order. The connection's reads
// give up after 3 s, so a notice that is missed shows as a failed read.
TEST(RelayConnection, ReadsAfterOneThatEmptiedTheSocketMissNoBytes)
{
    SmallBufferConnection connection;
    ASSERT_NO_FATAL_FAILURE(connection.Open());
    VSocket& peer = connection.peer;
    VSocket* server = connection.server.get();
    server->SetTimeouts(3000, 0);

    struct Step
    {
        size_t before; // bytes the peer sends before the read
        size_t during; // bytes it sends 100 ms into the read
        size_t ask;    // bytes the read asks for
        bool exact;    // ReceiveExact, else ReceiveSome
        size_t expect; // bytes the read gives
    };
    const Step steps[] = {
        {10, 0, 100, false, 10}, // takes all: the socket is empty
        {7, 0, 100, false, 7},   // came before the read
        {0, 5, 100, false, 5},   // comes while the read waits
        {10, 0, 4, false, 4},    // takes part ...
        {0, 0, 100, false, 6},   // ... and the rest is there
        {4, 8, 12, true, 12},    // an exact read over two arrivals
        {0, 3, 100, false, 3},
    };
    uint8_t next = 1;
    uint8_t expected = 1;
    auto make = [&next](size_t count) {
        std::vector<uint8_t> bytes(count);
        for (uint8_t& b : bytes)
            b = next++;
        return bytes;
    };
    for (size_t i = 0; i < sizeof steps / sizeof steps[0]; ++i) {
        const Step& step = steps[i];
        const std::vector<uint8_t> before = make(step.before);
        const std::vector<uint8_t> during = make(step.during);
        if (!before.empty()) {
            ASSERT_TRUE(peer.SendNow(before.data(), before.size())) << "step " << i;
            Sleep(50);
        }
        std::thread late;
        if (!during.empty()) {
            late = std::thread([&peer, &during] {
                Sleep(100);
                peer.SendNow(during.data(), during.size());
            });
        }
        std::vector<uint8_t> got(step.ask);
        const DWORD start = GetTickCount();
        const int n = step.exact ? server->ReceiveExact(got.data(), got.size())
                                 : server->ReceiveSome(got.data(), got.size());
        EXPECT_LT(GetTickCount() - start, 2000u) << "step " << i;
        EXPECT_EQ(static_cast<int>(step.expect), n) << "step " << i;
        for (int k = 0; k < n; ++k)
            EXPECT_EQ(expected++, got[static_cast<size_t>(k)]) << "step " << i;
        if (late.joinable())
            late.join();
    }
}
