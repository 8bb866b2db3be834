// Prints the time of one relayout of a wall of 25 shown windows beside the
// floor of it (moving and showing 25 plain child windows), and the frames a
// second that the stand-in server's video relay delivers from 16 senders to
// one wall beside the same datagrams sent straight from sender to receiver.
#include <winsock2.h>
#include <windows.h>

#include "CCommandManager.h"
#include "CDlgRight.h"
#include "CStandInServer.h"
#include "CTcpLink.h"
#include "CUserTable.h"
#include "CVideoRelay.h"
#include "StandInTestKit.h"

#include <cstdio>
#include <cstring>
#include <vector>

namespace {
double Seconds(LARGE_INTEGER a, LARGE_INTEGER b)
{
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return double(b.QuadPart - a.QuadPart) / double(f.QuadPart);
}

void RelayoutBench()
{
    CWnd top;
    top.CreateEx(0, "STATIC", "wall", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1000, 800, NULL, NULL);
    g_LoginInfo.userId = 1;
    g_UserTable.AddUser(1, "me", 2);
    for (uint32_t id = 100; id < 125; ++id)
        g_UserTable.AddUser(id, "user", 2);
    CDlgRight wall;
    wall.Create(&top);
    wall.MoveWindow(0, 0, 1000, 800);
    for (uint32_t id = 100; id < 125; ++id)
        wall.AddUserVideo("user", id);
    wall.SetSplitCount(25);
    const int rounds = 200;
    LARGE_INTEGER t0, t1;
    ::QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i) {
        wall.SetSplitCount(i % 2 ? 25 : 16);
    }
    ::QueryPerformanceCounter(&t1);
    double wallUs = Seconds(t0, t1) * 1e6 / rounds;

    std::vector<HWND> plain;
    for (int i = 0; i < 25; ++i)
        plain.push_back(
            ::CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 10, 10, top.m_hWnd, NULL, NULL, NULL));
    ::QueryPerformanceCounter(&t0);
    for (int r = 0; r < rounds; ++r)
        for (int i = 0; i < 25; ++i) {
            ::ShowWindow(plain[i], SW_HIDE);
            ::MoveWindow(plain[i], (i % 5) * 200 + r % 2, (i / 5) * 160, 200, 160, TRUE);
            ::ShowWindow(plain[i], SW_SHOWNOACTIVATE);
        }
    ::QueryPerformanceCounter(&t1);
    double plainUs = Seconds(t0, t1) * 1e6 / rounds;
    std::printf("%-44s %10.1f us\n", "wall relayout, 25 windows (split change)", wallUs);
    std::printf("%-44s %10.1f us\n", "reference: hide, move, show 25 windows", plainUs);
    for (int i = 0; i < 25; ++i)
        wall.GetVideoWindow(i)->Clear();
    wall.DestroyWindow();
    top.DestroyWindow();
}

SOCKET Udp()
{
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    int size = 1 << 20;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    return s;
}

uint16_t PortOf(SOCKET s)
{
    sockaddr_in a = {};
    int n = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &n);
    return ntohs(a.sin_port);
}

void SendTo(SOCKET s, uint16_t port, const std::vector<uint8_t>& d)
{
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    to.sin_port = htons(port);
    sendto(s, reinterpret_cast<const char*>(d.data()), (int)d.size(), 0,
           reinterpret_cast<sockaddr*>(&to), sizeof to);
}

// Sends frames of 6 pieces (a small picture) from 16 senders at 15 frames a
// second each for the time; counts the pieces that reach the receiver and
// returns the whole frames a second.
double Stream(const std::vector<SOCKET>& senders, const std::vector<uint16_t>& ports,
              const std::vector<uint32_t>& ids, SOCKET receiver, double seconds)
{
    const int pieces = 6;
    std::vector<uint8_t> piece(24 + 500, 0x55);
    piece[0] = 0x90;
    piece[1] = 110;
    DWORD start = ::GetTickCount();
    long received = 0;
    int round = 0;
    std::vector<char> buffer(2048);
    while (::GetTickCount() - start < seconds * 1000) {
        if ((::GetTickCount() - start) >= (DWORD)(round * 1000 / 15)) {
            for (size_t s = 0; s < senders.size(); ++s)
                for (uint16_t p = 0; p < pieces; ++p) {
                    memcpy(&piece[22], &p, 2);
                    memcpy(&piece[24], &ids[s], 4);
                    SendTo(senders[s], ports[s], piece);
                }
            ++round;
        }
        u_long pending = 0;
        while (ioctlsocket(receiver, FIONREAD, &pending) == 0 && pending > 0) {
            if (recv(receiver, buffer.data(), (int)buffer.size(), 0) > 0)
                ++received;
        }
        ::Sleep(1);
    }
    return received / (double)pieces / seconds;
}

void RelayBench()
{
    CServerConfig config;
    config.keepAliveSeconds = 0;
    ROOM_CONFIG room;
    room.id = 1;
    room.name = "bench";
    room.mode = 0;
    room.capacity = 60;
    config.rooms = {room};
    config.accounts = {{"host", "pw", 1}};
    CStandInServer server(config);
    if (!server.Start(0) || !server.VideoRelay()) {
        std::printf("relay: the server did not start\n");
        return;
    }
    // The wall's owner is a participant of the room; its reports subscribe
    // the one receiving socket to the 16 senders' ports.
    StandInClient viewer;
    if (!viewer.Login(server.GetPort(), "host", "pw", 1)) {
        std::printf("relay: no login\n");
        return;
    }
    std::vector<SOCKET> senders;
    std::vector<uint16_t> relayPorts, directPorts;
    std::vector<uint32_t> ids;
    SOCKET receiver = Udp();
    std::vector<uint8_t> report(20, 0);
    report[0] = 0x80;
    report[1] = 110;
    uint32_t roomId = 1, viewerId = viewer.login.userId;
    memcpy(&report[12], &roomId, 4);
    memcpy(&report[16], &viewerId, 4);
    for (uint32_t i = 0; i < 16; ++i) {
        senders.push_back(Udp());
        ids.push_back(5000 + i);
        relayPorts.push_back(server.VideoRelay()->StartSender(1, 5000 + i));
        directPorts.push_back(PortOf(receiver));
        for (int tries = 0; tries < 50 && server.VideoRelay()->GetReceiverCount(5000 + i) == 0;
             ++tries) {
            SendTo(receiver, relayPorts.back(), report);
            ::Sleep(10);
        }
    }
    std::printf("%-44s %10.1f frames/s\n", "reference: 16 senders straight to one wall",
                Stream(senders, directPorts, ids, receiver, 2.0));
    std::printf("%-44s %10.1f frames/s\n", "16 senders through the relay to one wall",
                Stream(senders, relayPorts, ids, receiver, 2.0));
    std::printf("%-44s %10.1f frames/s\n", "offered (16 x 15)", 240.0);
    for (SOCKET x : senders)
        closesocket(x);
    closesocket(receiver);
    server.Stop();
}
} // namespace

int main()
{
    StartWinsock();
    RelayoutBench();
    RelayBench();
    WSACleanup();
    return 0;
}
