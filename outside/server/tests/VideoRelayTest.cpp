#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <vector>

#include "CStandInServer.h"
#include "CTcpLink.h"
#include "CVideoRelay.h"
#include "StandInTestKit.h"

namespace {

// One UDP endpoint of a client's video library, on the loopback address.
class CUdpPeer
{
public:
    CUdpPeer()
    {
        m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~CUdpPeer() { closesocket(m_socket); }
    void SendTo(uint16_t port, const std::vector<uint8_t>& datagram)
    {
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        to.sin_port = htons(port);
        sendto(m_socket, reinterpret_cast<const char*>(datagram.data()), (int)datagram.size(), 0,
               reinterpret_cast<sockaddr*>(&to), sizeof to);
    }
    // The next datagram within the time; empty when none came.
    std::vector<uint8_t> Receive(uint32_t timeoutMs, uint16_t* fromPort = nullptr)
    {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(m_socket, &readable);
        timeval wait = {(long)(timeoutMs / 1000), (long)(timeoutMs % 1000) * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            return {};
        std::vector<uint8_t> data(2048);
        sockaddr_in from = {};
        int length = sizeof from;
        int got = recvfrom(m_socket, reinterpret_cast<char*>(data.data()), (int)data.size(), 0,
                           reinterpret_cast<sockaddr*>(&from), &length);
        data.resize(got > 0 ? got : 0);
        if (fromPort)
            *fromPort = ntohs(from.sin_port);
        return data;
    }

private:
    SOCKET m_socket;
};

void PutU32(std::vector<uint8_t>& d, size_t at, uint32_t v) { memcpy(&d[at], &v, 4); }

// A receiver's report: head, then room id and the reporter's user id.
std::vector<uint8_t> Report(uint32_t room, uint32_t user)
{
    std::vector<uint8_t> d(20, 0);
    d[0] = 0x80;
    d[1] = 110;
    PutU32(d, 12, room);
    PutU32(d, 16, user);
    return d;
}

// One frame of a sender that fits one packet: head, stream id, picture bytes.
std::vector<uint8_t> Frame(uint32_t stream, uint8_t number)
{
    std::vector<uint8_t> d(12 + 4 + 40, number);
    d[0] = 0x80;
    d[1] = 110;
    PutU32(d, 12, stream);
    return d;
}

// A piece of a longer frame (with the fragment extension).
std::vector<uint8_t> Piece(uint32_t stream, uint16_t index)
{
    std::vector<uint8_t> d(24 + 500, 0x33);
    d[0] = 0x90;
    d[1] = 110;
    uint32_t length = 900;
    memcpy(&d[16], &length, 4);
    uint16_t count = 2;
    memcpy(&d[20], &count, 2);
    memcpy(&d[22], &index, 2);
    if (index == 0)
        PutU32(d, 24, stream);
    return d;
}

class VideoRelayTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }
    void SetUp() override { ASSERT_TRUE(server.Start(0)); }

    std::unique_ptr<StandInClient> Join(const char* user, const char* password)
    {
        std::unique_ptr<StandInClient> client(new StandInClient());
        EXPECT_TRUE(client->Login(server.GetPort(), user, password, 1)) << client->text;
        return client;
    }
    // Starts a participant's broadcast; his port from 2069 and as the others hear it.
    uint16_t Broadcast(StandInClient& who, StandInClient& other)
    {
        std::vector<uint8_t> m;
        EXPECT_TRUE(who.manager.SendVideoBroadcast(who.login.userId, 1));
        EXPECT_TRUE(who.WaitFor(CMD_START_SEND_VIDEO, m));
        uint16_t port = static_cast<uint16_t>(m.size() >= 4 ? m[2] | m[3] << 8 : 0);
        // The other may still hold the news of his own broadcast.
        bool heard = false;
        while (!heard && other.WaitFor(CMD_RECEIVE_VIDEO_REPLY, m))
            heard = m.size() >= 10 && ReadU32(m, 4) == who.login.userId;
        EXPECT_TRUE(heard);
        EXPECT_EQ(port, heard ? (m[8] | m[9] << 8) : -1);
        return port;
    }
    // Reports until the relay counts the receiver (the first report may race the port's set-up).
    bool Subscribe(CUdpPeer& peer, uint16_t port, uint32_t reporter, uint32_t sender)
    {
        for (int i = 0; i < 50; ++i) {
            peer.SendTo(port, Report(1, reporter));
            Sleep(20);
            if (server.VideoRelay()->GetReceiverCount(sender) > 0)
                return true;
        }
        return false;
    }

    CStandInServer server{StandInTestConfig()};
};

} // namespace

TEST_F(VideoRelayTest, TwoParticipantsSeeEachOthersFrames)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    uint32_t hostId = host->login.userId, aliceId = alice->login.userId;
    uint16_t hostPort = Broadcast(*host, *alice);
    uint16_t alicePort = Broadcast(*alice, *host);
    ASSERT_NE(0, hostPort);
    ASSERT_NE(0, alicePort);
    EXPECT_NE(hostPort, alicePort);

    CUdpPeer hostSender, hostReceiver, aliceSender, aliceReceiver;
    ASSERT_TRUE(Subscribe(hostReceiver, alicePort, hostId, aliceId));
    ASSERT_TRUE(Subscribe(aliceReceiver, hostPort, aliceId, hostId));
    for (uint8_t n = 1; n <= 3; ++n) {
        aliceSender.SendTo(alicePort, Frame(aliceId, n));
        hostSender.SendTo(hostPort, Frame(hostId, (uint8_t)(n + 10)));
        uint16_t from = 0;
        EXPECT_EQ(Frame(aliceId, n), hostReceiver.Receive(2000, &from));
        EXPECT_EQ(alicePort, from); // frames come from the port the reports go to
        EXPECT_EQ(Frame(hostId, (uint8_t)(n + 10)), aliceReceiver.Receive(2000));
    }
    // A longer frame travels as its pieces.
    aliceSender.SendTo(alicePort, Piece(aliceId, 0));
    aliceSender.SendTo(alicePort, Piece(aliceId, 1));
    EXPECT_EQ(Piece(aliceId, 0), hostReceiver.Receive(2000));
    EXPECT_EQ(Piece(aliceId, 1), hostReceiver.Receive(2000));
}

TEST_F(VideoRelayTest, StrangersAndForeignEndpointsAreIgnored)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    uint32_t hostId = host->login.userId, aliceId = alice->login.userId;
    uint16_t port = Broadcast(*alice, *host);
    CUdpPeer sender, receiver, stranger;
    // A report naming nobody of the room makes no receiver.
    stranger.SendTo(port, Report(1, 4242));
    stranger.SendTo(port, Report(2, hostId));
    ASSERT_TRUE(Subscribe(receiver, port, hostId, aliceId));
    EXPECT_EQ(1u, server.VideoRelay()->GetReceiverCount(aliceId));
    // A frame without the sender's stream id does not make its source the sender.
    stranger.SendTo(port, Frame(hostId, 7));
    sender.SendTo(port, Frame(aliceId, 1));
    EXPECT_EQ(Frame(aliceId, 1), receiver.Receive(2000));
    // Once known, only the sender's endpoint is relayed; junk is dropped.
    stranger.SendTo(port, Frame(aliceId, 9));
    stranger.SendTo(port, std::vector<uint8_t>{0x40, 1, 2});
    sender.SendTo(port, Frame(aliceId, 2));
    EXPECT_EQ(Frame(aliceId, 2), receiver.Receive(2000));
    EXPECT_TRUE(receiver.Receive(300).empty());
    CVideoRelay::Counters counters = server.VideoRelay()->GetCounters();
    EXPECT_GE(counters.refused, 4u);
    EXPECT_GE(counters.malformed, 1u);
}

TEST_F(VideoRelayTest, BroadcasterWatchesHisOwnPictureThroughTheRelay)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    uint32_t aliceId = alice->login.userId;
    uint16_t port = Broadcast(*alice, *host);
    std::vector<uint8_t> m;
    // She is told of her own broadcast like the others.
    ASSERT_TRUE(alice->WaitFor(CMD_RECEIVE_VIDEO_REPLY, m));
    EXPECT_EQ(aliceId, ReadU32(m, 4));
    EXPECT_EQ(port, m[8] | m[9] << 8);

    CUdpPeer sender, ownReceiver;
    // Before her first packet a report in her own name is not taken: it
    // could be a short packet of hers.
    ownReceiver.SendTo(port, Report(1, aliceId));
    Sleep(100);
    EXPECT_EQ(0u, server.VideoRelay()->GetReceiverCount(aliceId));
    sender.SendTo(port, Frame(aliceId, 1));
    // From her sender's endpoint it is one of her packets, never a report.
    sender.SendTo(port, Report(1, aliceId));
    Sleep(100);
    EXPECT_EQ(0u, server.VideoRelay()->GetReceiverCount(aliceId));
    // From another endpoint of hers it makes a receiver, who gets her frames.
    ASSERT_TRUE(Subscribe(ownReceiver, port, aliceId, aliceId));
    sender.SendTo(port, Frame(aliceId, 2));
    EXPECT_EQ(Frame(aliceId, 2), ownReceiver.Receive(2000));
}

TEST_F(VideoRelayTest, StoppedBroadcastReleasesThePort)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    uint32_t hostId = host->login.userId, aliceId = alice->login.userId;
    uint16_t port = Broadcast(*alice, *host);
    CUdpPeer sender, receiver;
    ASSERT_TRUE(Subscribe(receiver, port, hostId, aliceId));
    std::vector<uint8_t> m;
    ASSERT_TRUE(alice->manager.SendVideoBroadcast(aliceId, 0));
    ASSERT_TRUE(alice->WaitFor(CMD_STOP_SEND_VIDEO, m));
    EXPECT_EQ(0, server.VideoRelay()->GetSenderPort(aliceId));
    sender.SendTo(port, Frame(aliceId, 1));
    EXPECT_TRUE(receiver.Receive(300).empty());
}

TEST_F(VideoRelayTest, BroadcasterWhoLeavesReleasesThePort)
{
    auto host = Join("host", "pw");
    auto alice = Join("alice", "a");
    uint32_t hostId = host->login.userId, aliceId = alice->login.userId;
    uint16_t port = Broadcast(*alice, *host);
    CUdpPeer sender, receiver;
    ASSERT_TRUE(Subscribe(receiver, port, hostId, aliceId));
    // She quits while broadcasting.
    alice->manager.Close();
    std::vector<uint8_t> m;
    ASSERT_TRUE(host->WaitFor(CMD_USER_QUIT, m));
    EXPECT_EQ(0, server.VideoRelay()->GetSenderPort(aliceId));
    sender.SendTo(port, Frame(aliceId, 1));
    EXPECT_TRUE(receiver.Receive(300).empty());
}
