#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <memory>
#include <vector>

#include "CScreenRelay.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "ScreenRelayWire.h"
#include "StandInTestKit.h"

namespace {

// One screen-sharing program's connection to the application port.
class CScreenPeer
{
public:
    explicit CScreenPeer(uint16_t port)
    {
        m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        a.sin_port = htons(port);
        connected = connect(m_socket, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~CScreenPeer() { closesocket(m_socket); }

    void Send(uint8_t kind, const std::vector<uint8_t>& body)
    {
        std::vector<uint8_t> m = {static_cast<uint8_t>(body.size()),
                                  static_cast<uint8_t>(body.size() >> 8),
                                  static_cast<uint8_t>(body.size() >> 16),
                                  0,
                                  kind,
                                  0,
                                  0,
                                  0};
        m.insert(m.end(), body.begin(), body.end());
        send(m_socket, reinterpret_cast<const char*>(m.data()), (int)m.size(), 0);
    }
    // The kind of the answer to a hello.
    uint8_t Hello(uint32_t room, uint32_t user, uint8_t role)
    {
        Send(SCREEN_RELAY_HELLO,
             {static_cast<uint8_t>(room), static_cast<uint8_t>(room >> 8), 0, 0,
              static_cast<uint8_t>(user), static_cast<uint8_t>(user >> 8), 0, 0, role, 0, 0, 0});
        std::vector<uint8_t> body;
        return Receive(body, 3000);
    }
    // The kind of the next message (0: none within the time, or closed).
    uint8_t Receive(std::vector<uint8_t>& body, DWORD timeoutMs)
    {
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs),
                   sizeof timeoutMs);
        uint8_t head[8];
        if (!ReadAll(head, 8))
            return 0;
        const uint32_t length = head[0] | head[1] << 8 | head[2] << 16 | uint32_t(head[3]) << 24;
        body.resize(length);
        return length <= (1u << 20) && ReadAll(body.data(), length) ? head[4] : 0;
    }

    bool connected = false;

private:
    bool ReadAll(uint8_t* p, size_t n)
    {
        while (n) {
            const int got = recv(m_socket, reinterpret_cast<char*>(p), (int)n, 0);
            if (got <= 0)
                return false;
            p += got;
            n -= static_cast<size_t>(got);
        }
        return true;
    }
    SOCKET m_socket;
};

template <typename Pred>
bool WaitUntil(Pred pred, uint64_t timeoutMs = 5000)
{
    const uint64_t end = SteadyMs() + timeoutMs;
    while (!pred()) {
        if (SteadyMs() > end)
            return false;
        Sleep(10);
    }
    return true;
}

std::vector<uint8_t> Picture(uint32_t claimedSender)
{
    // 2 x 1 pixels, one run of each colour.
    return {static_cast<uint8_t>(claimedSender),
            0,
            0,
            0,
            2,
            0,
            1,
            0,
            SCREEN_FORMAT_RUNS24,
            0,
            0,
            0,
            1,
            0,
            0,
            255,
            1,
            255,
            0,
            0};
}

} // namespace

TEST(ScreenRelay, PicturesReachTheRoomsViewersOnly)
{
    ASSERT_TRUE(StartWinsock());
    CStandInServer server(StandInTestConfig());
    ASSERT_TRUE(server.Start(0));
    StandInClient host, alice, bob;
    ASSERT_TRUE(host.Login(server.GetPort(), "host", "pw", 1));
    ASSERT_TRUE(alice.Login(server.GetPort(), "alice", "a", 1));
    ASSERT_TRUE(bob.Login(server.GetPort(), "bob", "b", 2));
    CScreenRelay relay([&server](uint32_t room, uint32_t user) {
        for (uint32_t id : server.GetRoomUsers(room))
            if (id == user)
                return true;
        return false;
    });
    ASSERT_TRUE(relay.Start(0));

    // Only participants of the room they name are taken.
    struct Case
    {
        uint32_t room, user;
        uint8_t role, answer;
    } hellos[] = {
        {1, 4242, SCREEN_ROLE_VIEWER, SCREEN_RELAY_REFUSED},
        {2, alice.login.userId, SCREEN_ROLE_VIEWER, SCREEN_RELAY_REFUSED},
        {1, alice.login.userId, 7, SCREEN_RELAY_REFUSED},
    };
    for (const Case& c : hellos) {
        CScreenPeer peer(relay.GetPort());
        ASSERT_TRUE(peer.connected);
        EXPECT_EQ(c.answer, peer.Hello(c.room, c.user, c.role)) << c.room << " " << c.user;
    }

    CScreenPeer sharer(relay.GetPort()), viewer(relay.GetPort()), elsewhere(relay.GetPort());
    ASSERT_EQ(SCREEN_RELAY_WELCOME, sharer.Hello(1, host.login.userId, SCREEN_ROLE_SHARER));
    ASSERT_EQ(SCREEN_RELAY_WELCOME, viewer.Hello(1, alice.login.userId, SCREEN_ROLE_VIEWER));
    ASSERT_EQ(SCREEN_RELAY_WELCOME, elsewhere.Hello(2, bob.login.userId, SCREEN_ROLE_VIEWER));
    ASSERT_TRUE(
        WaitUntil([&] { return relay.GetViewerCount(1) == 1 && relay.GetViewerCount(2) == 1; }));

    // The sharer's picture arrives with the sharer's id as the server knows it.
    sharer.Send(SCREEN_RELAY_PICTURE, Picture(99));
    std::vector<uint8_t> body;
    ASSERT_EQ(SCREEN_RELAY_PICTURE, viewer.Receive(body, 5000));
    std::vector<uint8_t> expected = Picture(0);
    expected[0] = static_cast<uint8_t>(host.login.userId);
    expected[1] = static_cast<uint8_t>(host.login.userId >> 8);
    EXPECT_EQ(expected, body);
    EXPECT_EQ(0, elsewhere.Receive(body, 500));

    // A viewer's input goes to the sharer; a viewer's picture ends its connection.
    viewer.Send(SCREEN_RELAY_INPUT, std::vector<uint8_t>(16, 1));
    ASSERT_EQ(SCREEN_RELAY_INPUT, sharer.Receive(body, 5000));
    EXPECT_EQ(std::vector<uint8_t>(16, 1), body);
    viewer.Send(SCREEN_RELAY_PICTURE, Picture(alice.login.userId));
    EXPECT_TRUE(WaitUntil([&] { return relay.GetViewerCount(1) == 0; }));
    EXPECT_EQ(4u, relay.GetCounters().refused); // three hellos and the picture
    relay.Stop();
    server.Stop();
}
