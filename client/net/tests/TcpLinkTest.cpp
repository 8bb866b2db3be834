#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <vector>

#include "CTcpLink.h"

namespace {

// A loopback listener whose one accepted connection is driven by a script.
class ScriptedPeer
{
public:
    explicit ScriptedPeer(std::function<void(SOCKET)> script) : m_script(std::move(script))
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        listen(m_listener, 1);
        m_thread = std::thread([this] {
            SOCKET s = accept(m_listener, nullptr, nullptr);
            if (s == INVALID_SOCKET)
                return;
            m_script(s);
            closesocket(s);
        });
    }
    ~ScriptedPeer()
    {
        closesocket(m_listener);
        m_thread.join();
    }
    uint16_t Port() const { return m_port; }

private:
    std::function<void(SOCKET)> m_script;
    SOCKET m_listener;
    uint16_t m_port = 0;
    std::thread m_thread;
};

void SendBytes(SOCKET s, const std::vector<unsigned char>& bytes)
{
    send(s, reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()), 0);
}

std::vector<unsigned char> Frame(uint16_t length, std::vector<unsigned char> payload = {},
                                 uint8_t m1 = 0xFF, uint8_t m2 = 0xFF)
{
    std::vector<unsigned char> f = {
        m1, 0, static_cast<unsigned char>(length & 0xFF), static_cast<unsigned char>(length >> 8),
        m2, 0};
    for (unsigned char b : payload)
        f.push_back(b);
    return f;
}

// Reads until the peer closes; true when it closed (rather than timed out).
bool PeerSeesClose(SOCKET s)
{
    DWORD timeout = 5000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    char sink[256];
    for (;;) {
        int n = recv(s, sink, sizeof sink, 0);
        if (n == 0)
            return true;
        if (n < 0)
            return WSAGetLastError() != WSAETIMEDOUT;
    }
}

class TcpLinkTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(StartWinsock()); }
    static void TearDownTestSuite() { WSACleanup(); }

    CTcpLink* Connect(uint16_t port)
    {
        CTcpLink* link = CreateTcpLink(FRAME_KIND_HEAD);
        EXPECT_TRUE(LinkConnect(link, "127.0.0.1", port));
        return link;
    }
};

} // namespace

TEST_F(TcpLinkTest, FramesTravelBothWays)
{
    std::vector<unsigned char> seen;
    ScriptedPeer peer([&](SOCKET s) {
        unsigned char in[16];
        int got = 0;
        while (got < 8) {
            int n = recv(s, reinterpret_cast<char*>(in) + got, 8 - got, 0);
            if (n <= 0)
                break;
            got += n;
        }
        seen.assign(in, in + got);
        SendBytes(s, Frame(3, {7, 8, 9}));
        Sleep(200);
    });
    CTcpLink* link = Connect(peer.Port());
    unsigned char two[2] = {0x11, 0x08};
    EXPECT_EQ(LinkSend(link, two, 2), 8u);
    unsigned char buffer[16] = {};
    EXPECT_EQ(LinkRecvTimeout(link, buffer, sizeof buffer, 5), 3);
    EXPECT_EQ(buffer[2], 9);
    DestroyTcpLink(link);
    EXPECT_EQ(link, nullptr);
    ASSERT_EQ(seen.size(), 8u);
    EXPECT_EQ(seen, (std::vector<unsigned char>{0xFF, 0, 2, 0, 0xFF, 0, 0x11, 0x08}));
}

TEST_F(TcpLinkTest, FramesRunTogetherOrCutAnywhereArriveWholeAndInOrder)
{
    // Several frames, an empty one among them, sent as one run of bytes and
    // cut into pieces of different sizes: every receive gives exactly one
    // frame, whichever way the bytes arrived.
    const std::vector<uint16_t> lengths = {3, 0, 1, 700, 4096, 4096};
    std::vector<unsigned char> stream;
    for (size_t f = 0; f < lengths.size(); ++f) {
        std::vector<unsigned char> payload(lengths[f]);
        for (size_t i = 0; i < payload.size(); ++i)
            payload[i] = static_cast<unsigned char>(f * 31 + i * 7);
        std::vector<unsigned char> frame = Frame(lengths[f], payload);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    // The first `span` bytes go out in pieces of `chunk` bytes, the rest in
    // one send.
    struct Case
    {
        size_t chunk;
        size_t span;
        int capacity;
        bool timed;
    };
    const Case cases[] = {
        {0, 0, 65536, false},     // everything in one send
        {0, 0, 4096, true},       // a buffer just large enough for the largest frame
        {5, 800, 65536, false},   // the first five headers cut in two
        {4099, 9000, 8192, true}, // cuts inside payloads
    };
    for (const Case& c : cases) {
        ScriptedPeer peer([&](SOCKET s) {
            BOOL noDelay = TRUE;
            setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                       sizeof noDelay);
            size_t at = 0;
            while (at < stream.size()) {
                size_t n = c.chunk && at < c.span ? c.chunk : stream.size() - at;
                n = std::min(n, stream.size() - at);
                send(s, reinterpret_cast<const char*>(stream.data() + at), static_cast<int>(n), 0);
                at += n;
            }
            PeerSeesClose(s);
        });
        CTcpLink* link = Connect(peer.Port());
        std::vector<unsigned char> buffer(c.capacity);
        for (size_t f = 0; f < lengths.size(); ++f) {
            std::fill(buffer.begin(), buffer.end(), 0xEE);
            int32_t got = c.timed ? link->RecvTimeout(buffer.data(), c.capacity, 5)
                                  : link->Recv(buffer.data(), c.capacity);
            ASSERT_EQ(got, lengths[f]) << "frame " << f << ", chunk " << c.chunk;
            EXPECT_TRUE(link->IsConnected()) << "frame " << f << ", chunk " << c.chunk;
            for (int i = 0; i < got; ++i)
                ASSERT_EQ(buffer[i], static_cast<unsigned char>(f * 31 + i * 7))
                    << "frame " << f << " byte " << i << ", chunk " << c.chunk;
        }
        EXPECT_EQ(link->RecvTimeout(buffer.data(), c.capacity, 1), 0) << "no frame left";
        DestroyTcpLink(link);
    }
}

TEST_F(TcpLinkTest, EachFrameLeavesAsHeaderAndPayloadUnchanged)
{
    // The bytes on the wire are the 6-byte header and the payload, frame
    // after frame, for payloads from 1 byte to the largest a sender builds.
    const uint32_t lengths[] = {1, 2, 4096, 32768, 65530};
    std::vector<unsigned char> expected;
    std::vector<std::vector<unsigned char>> payloads;
    for (uint32_t length : lengths) {
        std::vector<unsigned char> payload(length);
        for (uint32_t i = 0; i < length; ++i)
            payload[i] = static_cast<unsigned char>(i * 13 + length);
        std::vector<unsigned char> frame = Frame(static_cast<uint16_t>(length), payload);
        expected.insert(expected.end(), frame.begin(), frame.end());
        payloads.push_back(payload);
    }
    std::vector<unsigned char> seen;
    HANDLE read = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ScriptedPeer peer([&](SOCKET s) {
        std::vector<unsigned char> chunk(65536);
        while (seen.size() < expected.size()) {
            int n =
                recv(s, reinterpret_cast<char*>(chunk.data()), static_cast<int>(chunk.size()), 0);
            if (n <= 0)
                break;
            seen.insert(seen.end(), chunk.begin(), chunk.begin() + n);
        }
        SetEvent(read);
    });
    CTcpLink* link = Connect(peer.Port());
    for (const auto& payload : payloads)
        EXPECT_EQ(link->Send(payload.data(), static_cast<uint32_t>(payload.size())),
                  payload.size() + FRAME_HEAD_SIZE);
    EXPECT_TRUE(link->IsConnected());
    // The link stays open until the peer has read all it was sent.
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(read, 10000));
    DestroyTcpLink(link);
    CloseHandle(read);
    EXPECT_EQ(seen, expected);
}

TEST_F(TcpLinkTest, MalformedFramesCloseTheConnection)
{
    struct Case
    {
        const char* what;
        std::vector<unsigned char> bytes;
        int capacity;
    };
    const Case cases[] = {
        {"bad first marker", Frame(2, {1, 2}, 0xFE, 0xFF), 100},
        {"bad second marker", Frame(2, {1, 2}, 0xFF, 0x00), 100},
        {"length 65531", Frame(65531), 70000},
        {"length 65535", Frame(65535), 70000},
        {"length over the caller's buffer", Frame(10, std::vector<unsigned char>(10, 1)), 9},
    };
    for (const Case& c : cases) {
        // The peer must see the close while the link object still lives:
        // the failed receive itself closes the socket.
        bool closed = false;
        HANDLE judged = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ScriptedPeer peer([&](SOCKET s) {
            SendBytes(s, c.bytes);
            closed = PeerSeesClose(s);
            SetEvent(judged);
        });
        CTcpLink* link = Connect(peer.Port());
        std::vector<unsigned char> buffer(c.capacity);
        EXPECT_EQ(link->RecvTimeout(buffer.data(), c.capacity, 5), 0) << c.what;
        EXPECT_FALSE(link->IsConnected()) << c.what;
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(judged, 10000)) << c.what;
        EXPECT_TRUE(closed) << c.what;
        DestroyTcpLink(link);
        CloseHandle(judged);
    }
}

TEST_F(TcpLinkTest, EmptyPayloadFailsButKeepsTheConnection)
{
    ScriptedPeer peer([](SOCKET s) {
        SendBytes(s, Frame(0));
        SendBytes(s, Frame(1, {5}));
        Sleep(300);
    });
    CTcpLink* link = Connect(peer.Port());
    unsigned char buffer[8];
    EXPECT_EQ(link->Recv(buffer, sizeof buffer), 0);
    EXPECT_TRUE(link->IsConnected());
    EXPECT_EQ(link->Recv(buffer, sizeof buffer), 1) << "the stream stays in step";
    EXPECT_EQ(buffer[0], 5);
    DestroyTcpLink(link);
}

TEST_F(TcpLinkTest, PeerClosingMidFrameClosesOurSide)
{
    const std::vector<unsigned char> cuts[] = {
        {0xFF, 0, 4},     // mid-header
        Frame(4, {1, 2}), // mid-payload
    };
    for (const auto& bytes : cuts) {
        ScriptedPeer peer([&](SOCKET s) { SendBytes(s, bytes); });
        CTcpLink* link = Connect(peer.Port());
        unsigned char buffer[8];
        EXPECT_EQ(link->Recv(buffer, sizeof buffer), 0);
        EXPECT_FALSE(link->IsConnected()) << "a partial frame leaves the stream out of step";
        DestroyTcpLink(link);
    }
}

TEST_F(TcpLinkTest, TimeoutsBeforeAndDuringAFrame)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ScriptedPeer idle([&](SOCKET) { WaitForSingleObject(release, 10000); });
    CTcpLink* link = Connect(idle.Port());
    unsigned char buffer[8];
    EXPECT_EQ(link->RecvTimeout(buffer, sizeof buffer, 1), 0);
    EXPECT_TRUE(link->IsConnected()) << "nothing read yet: the connection is still usable";
    SetEvent(release);
    DestroyTcpLink(link);

    ResetEvent(release);
    ScriptedPeer slow([&](SOCKET s) {
        SendBytes(s, Frame(4, {1}));
        WaitForSingleObject(release, 10000);
    });
    link = Connect(slow.Port());
    EXPECT_EQ(link->RecvTimeout(buffer, sizeof buffer, 1), 0);
    EXPECT_FALSE(link->IsConnected()) << "part of the frame arrived before the time-out";
    SetEvent(release);
    DestroyTcpLink(link);
    CloseHandle(release);
}

TEST_F(TcpLinkTest, StalledPeerMakesSendFailWithinItsLimit)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ScriptedPeer stalled([&](SOCKET) { WaitForSingleObject(release, 60000); });
    CTcpLink* link = Connect(stalled.Port());
    link->SetSendLimit(1500);
    std::vector<unsigned char> block(32768, 0x5A);
    DWORD start = GetTickCount();
    uint32_t result = 1;
    for (int i = 0; i < 4000 && result; ++i)
        result = link->Send(block.data(), static_cast<uint32_t>(block.size()));
    EXPECT_EQ(result, 0u) << "the peer never read, so a send must fail";
    EXPECT_FALSE(link->IsConnected());
    EXPECT_LT(GetTickCount() - start, 30000u);
    SetEvent(release);
    DestroyTcpLink(link);
    CloseHandle(release);
}

TEST_F(TcpLinkTest, NullLinksAndRefusedCalls)
{
    CTcpLink* none = nullptr;
    unsigned char buffer[4] = {};
    EXPECT_FALSE(LinkConnect(none, "127.0.0.1", 1));
    EXPECT_EQ(LinkSend(none, buffer, 4), 0u);
    EXPECT_EQ(LinkRecv(none, buffer, 4), 0);
    EXPECT_EQ(LinkRecvTimeout(none, buffer, 4, 1), 0);
    LinkClose(none);
    DestroyTcpLink(none);

    CTcpLink* link = CreateTcpLink(FRAME_KIND_HEAD);
    EXPECT_EQ(link->Send(buffer, 4), 0u) << "no socket";
    EXPECT_EQ(link->Recv(buffer, 4), 0);
    EXPECT_FALSE(link->Connect("not an address", 80));
    DestroyTcpLink(link);
}

TEST_F(TcpLinkTest, SecondConnectFailsAndClosesTheSocket)
{
    ScriptedPeer peer([](SOCKET s) { PeerSeesClose(s); });
    CTcpLink* link = Connect(peer.Port());
    EXPECT_TRUE(link->IsConnected());
    EXPECT_FALSE(link->Connect("127.0.0.1", peer.Port()));
    EXPECT_FALSE(link->IsConnected());
    DestroyTcpLink(link);
}

TEST_F(TcpLinkTest, CloseFromAnotherThreadEndsABlockedReceive)
{
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ScriptedPeer idle([&](SOCKET) { WaitForSingleObject(release, 10000); });
    CTcpLink* link = Connect(idle.Port());
    std::thread closer([&] {
        Sleep(200);
        link->Close();
    });
    unsigned char buffer[8];
    EXPECT_EQ(link->Recv(buffer, sizeof buffer), 0);
    closer.join();
    SetEvent(release);
    DestroyTcpLink(link);
    CloseHandle(release);
}
