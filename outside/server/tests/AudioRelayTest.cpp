#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "AudioRelayWire.h"
#include "CAudioDatagram.h"
#include "CAudioRelay.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "StandInTestKit.h"

namespace {

const uint32_t kFreeRoom = 2;

// One audio endpoint of a participant: a UDP socket towards the relay.
class UdpPeer
{
public:
    explicit UdpPeer(uint16_t relayPort)
    {
        m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in local = {};
        local.sin_family = AF_INET;
        local.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&local), sizeof local);
        m_relay.sin_family = AF_INET;
        m_relay.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        m_relay.sin_port = htons(relayPort);
    }
    ~UdpPeer() { closesocket(m_socket); }

    void SendRaw(const std::vector<uint8_t>& bytes)
    {
        sendto(m_socket, reinterpret_cast<const char*>(bytes.data()),
               static_cast<int>(bytes.size()), 0, reinterpret_cast<const sockaddr*>(&m_relay),
               sizeof m_relay);
    }
    void Send(uint8_t kind, uint32_t room, uint32_t user, const std::vector<uint8_t>& packet = {})
    {
        std::vector<uint8_t> out(AUDIO_RELAY_MAX_DATAGRAM);
        size_t n = CAudioDatagram::Build(kind, room, user, packet.data(), packet.size(), out.data(),
                                         out.size());
        ASSERT_NE(n, 0u);
        out.resize(n);
        SendRaw(out);
    }
    // The next datagram within the time; false when none came.
    bool Receive(std::vector<uint8_t>& datagram, uint32_t timeoutMs)
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval wait = {static_cast<long>(timeoutMs / 1000),
                        static_cast<long>(timeoutMs % 1000) * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            return false;
        datagram.resize(AUDIO_RELAY_MAX_DATAGRAM + 16);
        int n = recv(m_socket, reinterpret_cast<char*>(datagram.data()),
                     static_cast<int>(datagram.size()), 0);
        if (n < 0)
            return false;
        datagram.resize(static_cast<size_t>(n));
        return true;
    }
    // The kind of the reply to a join.
    uint8_t Join(uint32_t room, uint32_t user)
    {
        Send(AUDIO_RELAY_JOIN, room, user);
        std::vector<uint8_t> reply;
        if (!Receive(reply, 2000))
            return 0;
        return reply.empty() ? 0 : reply[0];
    }
    // True when nothing arrives within a short time.
    bool Silent()
    {
        std::vector<uint8_t> datagram;
        return !Receive(datagram, 300);
    }

private:
    SOCKET m_socket = INVALID_SOCKET;
    sockaddr_in m_relay = {};
};

class AudioRelayTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }

    void SetUp() override
    {
        server.Config().audioPort = 0;
        ASSERT_TRUE(server.Start(0));
        ASSERT_NE(server.AudioRelay(), nullptr);
        ASSERT_NE(server.Config().audioPort, 0);
    }

    std::unique_ptr<StandInClient> Join(const char* user, const char* password,
                                        uint32_t room = kFreeRoom)
    {
        std::unique_ptr<StandInClient> client(new StandInClient());
        EXPECT_TRUE(client->Login(server.GetPort(), user, password, room)) << client->text;
        return client;
    }

    // Asks for the speech in the free room and waits until it is granted.
    static void Speak(StandInClient& client)
    {
        ASSERT_TRUE(client.manager.SendSpeechRequest());
        std::vector<uint8_t> m;
        for (;;) {
            ASSERT_TRUE(client.WaitFor(CMD_SPEAK_STATE, m));
            if (ReadU32(m, 4) == client.login.userId && m[8] == 2)
                return;
        }
    }

    static void GiveUp(StandInClient& client)
    {
        ASSERT_TRUE(client.manager.SendSpeechGiveUp());
        std::vector<uint8_t> m;
        for (;;) {
            ASSERT_TRUE(client.WaitFor(CMD_SPEAK_STATE, m));
            if (ReadU32(m, 4) == client.login.userId && m[8] == 0)
                return;
        }
    }

    uint16_t RelayPort() { return server.Config().audioPort; }

    CStandInServer server{StandInTestConfig()};
};

// Checks that a datagram is audio from source carrying packet.
void ExpectAudio(const std::vector<uint8_t>& datagram, uint32_t room, uint32_t source,
                 const std::vector<uint8_t>& packet)
{
    AUDIO_RELAY_HEAD head;
    const uint8_t* data = nullptr;
    size_t length = 0;
    ASSERT_TRUE(CAudioDatagram::Parse(datagram.data(), datagram.size(), &head, &data, &length));
    EXPECT_EQ(head.kind, AUDIO_RELAY_AUDIO);
    EXPECT_EQ(head.roomId, room);
    EXPECT_EQ(head.userId, source);
    EXPECT_EQ(std::vector<uint8_t>(data, data + length), packet);
}

} // namespace

TEST(AudioDatagram, ReadsOnlyWellFormedDatagrams)
{
    std::vector<uint8_t> packet(65, 0x06);
    uint8_t out[AUDIO_RELAY_MAX_DATAGRAM];
    size_t n = CAudioDatagram::Build(AUDIO_RELAY_AUDIO, 7, 1003, packet.data(), packet.size(), out,
                                     sizeof out);
    ASSERT_EQ(n, 12u + 65u);
    // Little-endian fields at their offsets.
    EXPECT_EQ(out[0], AUDIO_RELAY_AUDIO);
    EXPECT_EQ(out[4], 7);
    EXPECT_EQ(out[8] | out[9] << 8, 1003);

    struct Case
    {
        const char* what;
        std::vector<uint8_t> bytes;
        bool ok;
    };
    std::vector<uint8_t> audio(out, out + n);
    std::vector<uint8_t> join(out, out + 12);
    join[0] = AUDIO_RELAY_JOIN;
    std::vector<uint8_t> joinWithData = audio;
    joinWithData[0] = AUDIO_RELAY_JOIN;
    std::vector<uint8_t> unknown = join;
    unknown[0] = 9;
    std::vector<uint8_t> emptyAudio = join;
    emptyAudio[0] = AUDIO_RELAY_AUDIO;
    std::vector<uint8_t> longest(12 + AUDIO_RELAY_MAX_PACKET, 0);
    longest[0] = AUDIO_RELAY_AUDIO;
    std::vector<uint8_t> tooLong(12 + AUDIO_RELAY_MAX_PACKET + 1, 0);
    tooLong[0] = AUDIO_RELAY_AUDIO;
    const Case cases[] = {
        {"audio", audio, true},
        {"join", join, true},
        {"largest packet", longest, true},
        {"shorter than the head", std::vector<uint8_t>(join.begin(), join.begin() + 11), false},
        {"empty", {}, false},
        {"unknown kind", unknown, false},
        {"join with a packet", joinWithData, false},
        {"audio without packet", emptyAudio, false},
        {"packet over the largest", tooLong, false},
    };
    for (const Case& c : cases) {
        AUDIO_RELAY_HEAD head;
        const uint8_t* data = nullptr;
        size_t length = 0;
        EXPECT_EQ(CAudioDatagram::Parse(c.bytes.data(), c.bytes.size(), &head, &data, &length),
                  c.ok)
            << c.what;
    }
    // Building refuses what would not fit or not be read back.
    std::vector<uint8_t> big(AUDIO_RELAY_MAX_PACKET + 1, 0);
    std::vector<uint8_t> room(AUDIO_RELAY_MAX_DATAGRAM + 8);
    EXPECT_EQ(CAudioDatagram::Build(AUDIO_RELAY_AUDIO, 1, 1, big.data(), big.size(), room.data(),
                                    room.size()),
              0u);
    EXPECT_EQ(CAudioDatagram::Build(AUDIO_RELAY_AUDIO, 1, 1, packet.data(), packet.size(), out, 40),
              0u);
}

TEST_F(AudioRelayTest, JoinIsAcceptedOnlyForAParticipantOfThatRoom)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a", 1);
    UdpPeer peer(RelayPort());
    struct Case
    {
        const char* what;
        uint32_t room;
        uint32_t user;
        uint8_t reply;
    } cases[] = {
        {"participant", kFreeRoom, host->login.userId, AUDIO_RELAY_JOINED},
        {"participant of another room", kFreeRoom, alice->login.userId, AUDIO_RELAY_REFUSED},
        {"no such user", kFreeRoom, 4242, AUDIO_RELAY_REFUSED},
        {"no such room", 99, host->login.userId, AUDIO_RELAY_REFUSED},
        {"user 0", kFreeRoom, 0, AUDIO_RELAY_REFUSED},
    };
    for (const auto& c : cases)
        EXPECT_EQ(peer.Join(c.room, c.user), c.reply) << c.what;
}

TEST_F(AudioRelayTest, SpeakersAudioReachesEveryOtherJoinedParticipantWithItsSource)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    auto bob = Join("bob", "b");
    auto carol = Join("carol", "c");
    Speak(*alice);
    UdpPeer hostPeer(RelayPort()), alicePeer(RelayPort()), bobPeer(RelayPort()),
        carolPeer(RelayPort());
    ASSERT_EQ(hostPeer.Join(kFreeRoom, host->login.userId), AUDIO_RELAY_JOINED);
    ASSERT_EQ(alicePeer.Join(kFreeRoom, alice->login.userId), AUDIO_RELAY_JOINED);
    ASSERT_EQ(bobPeer.Join(kFreeRoom, bob->login.userId), AUDIO_RELAY_JOINED);
    // Carol is in the room but her audio manager never joined.

    std::vector<uint8_t> packet = {0x06, 1, 2, 3, 4, 5, 6, 7};
    alicePeer.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    std::vector<uint8_t> d;
    ASSERT_TRUE(hostPeer.Receive(d, 2000));
    ExpectAudio(d, kFreeRoom, alice->login.userId, packet);
    ASSERT_TRUE(bobPeer.Receive(d, 2000));
    ExpectAudio(d, kFreeRoom, alice->login.userId, packet);
    EXPECT_TRUE(alicePeer.Silent()) << "a speaker does not get his own audio back";
    EXPECT_EQ(server.AudioRelay()->GetCounters().relayed, 2u);

    // Bob leaves the meeting: he is no target any more, and cannot join again.
    bob->manager.Close();
    ASSERT_TRUE(server.WaitForRoomCount(kFreeRoom, 3, 3000));
    alicePeer.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    ASSERT_TRUE(hostPeer.Receive(d, 2000));
    EXPECT_TRUE(bobPeer.Silent());
    EXPECT_EQ(bobPeer.Join(kFreeRoom, bob->login.userId), AUDIO_RELAY_REFUSED);
    (void)carol;
}

TEST_F(AudioRelayTest, AudioOfAParticipantWhoDoesNotSpeakIsDropped)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    UdpPeer hostPeer(RelayPort()), alicePeer(RelayPort());
    ASSERT_EQ(hostPeer.Join(kFreeRoom, host->login.userId), AUDIO_RELAY_JOINED);
    ASSERT_EQ(alicePeer.Join(kFreeRoom, alice->login.userId), AUDIO_RELAY_JOINED);
    std::vector<uint8_t> packet = {0x06, 9, 9, 9};

    alicePeer.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    EXPECT_TRUE(hostPeer.Silent()) << "not yet speaking";
    EXPECT_EQ(server.AudioRelay()->GetCounters().droppedSilent, 1u);

    Speak(*alice);
    alicePeer.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    std::vector<uint8_t> d;
    ASSERT_TRUE(hostPeer.Receive(d, 2000));
    ExpectAudio(d, kFreeRoom, alice->login.userId, packet);

    GiveUp(*alice);
    alicePeer.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    EXPECT_TRUE(hostPeer.Silent()) << "speech given up";
    EXPECT_EQ(server.AudioRelay()->GetCounters().droppedSilent, 2u);
}

TEST_F(AudioRelayTest, ForeignEndpointsAndMalformedDatagramsAreIgnored)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    Speak(*alice);
    UdpPeer hostPeer(RelayPort()), alicePeer(RelayPort()), intruder(RelayPort());
    ASSERT_EQ(hostPeer.Join(kFreeRoom, host->login.userId), AUDIO_RELAY_JOINED);
    ASSERT_EQ(alicePeer.Join(kFreeRoom, alice->login.userId), AUDIO_RELAY_JOINED);
    std::vector<uint8_t> packet = {0x06, 1};

    // Speaking in Alice's name from another endpoint, and rubbish.
    intruder.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    intruder.SendRaw({1, 2, 3});
    intruder.SendRaw(std::vector<uint8_t>(AUDIO_RELAY_MAX_DATAGRAM + 1, AUDIO_RELAY_AUDIO));
    intruder.Send(AUDIO_RELAY_JOINED, kFreeRoom, alice->login.userId);
    EXPECT_TRUE(hostPeer.Silent());
    // A leave from the intruder does not end Alice's endpoint either.
    intruder.Send(AUDIO_RELAY_LEAVE, kFreeRoom, alice->login.userId);

    alicePeer.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    std::vector<uint8_t> d;
    ASSERT_TRUE(hostPeer.Receive(d, 2000));
    ExpectAudio(d, kFreeRoom, alice->login.userId, packet);
    CAudioRelay::Counters counters = server.AudioRelay()->GetCounters();
    EXPECT_EQ(counters.refused, 1u);
    EXPECT_EQ(counters.malformed, 3u);

    // Alice's own leave ends her endpoint: nothing of hers is relayed after.
    alicePeer.Send(AUDIO_RELAY_LEAVE, kFreeRoom, alice->login.userId);
    alicePeer.Send(AUDIO_RELAY_AUDIO, kFreeRoom, alice->login.userId, packet);
    EXPECT_TRUE(hostPeer.Silent());
}
