#include "CUdpRelay.h"

#include <process.h>

#include <cstring>

CUdpRelay::CUdpRelay(int lossPercent, int repeatPercent, int reorderPercent)
    : m_loss(lossPercent), m_repeat(repeatPercent), m_reorder(reorderPercent)
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
}

CUdpRelay::~CUdpRelay()
{
    Stop();
    WSACleanup();
}

bool CUdpRelay::Start()
{
    m_socket = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (m_socket == INVALID_SOCKET)
        return false;
    int size = 1 << 20;
    setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof size);
    DWORD timeout = 20;
    setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
    sockaddr_in a;
    memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (bind(m_socket, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0)
        return false;
    int len = sizeof a;
    getsockname(m_socket, reinterpret_cast<sockaddr*>(&a), &len);
    m_port = ntohs(a.sin_port);
    m_thread = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, ThreadProc, this, 0, nullptr));
    return m_thread != nullptr;
}

void CUdpRelay::Stop()
{
    m_stop = true;
    if (m_thread) {
        WaitForSingleObject(m_thread, 5000);
        CloseHandle(m_thread);
        m_thread = nullptr;
    }
    if (m_socket != INVALID_SOCKET) {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}

unsigned __stdcall CUdpRelay::ThreadProc(void* arg)
{
    static_cast<CUdpRelay*>(arg)->Loop();
    return 0;
}

void CUdpRelay::Loop()
{
    std::vector<char> buffer(2048);
    while (!m_stop) {
        sockaddr_in from;
        int len = sizeof from;
        const int n = recvfrom(m_socket, buffer.data(), static_cast<int>(buffer.size()), 0,
                               reinterpret_cast<sockaddr*>(&from), &len);
        if (n <= 0)
            continue;
        ++m_received;
        if (n == 20) {
            ++m_reports;
            bool known = false;
            for (const sockaddr_in& r : m_receivers)
                known = known ||
                        (r.sin_addr.s_addr == from.sin_addr.s_addr && r.sin_port == from.sin_port);
            if (!known)
                m_receivers.push_back(from);
            continue;
        }
        Forward(std::vector<char>(buffer.begin(), buffer.begin() + n));
    }
}

void CUdpRelay::Forward(const std::vector<char>& datagram)
{
    if (static_cast<int>(m_random() % 100) < m_loss)
        return;
    if (static_cast<int>(m_random() % 100) < m_reorder) {
        m_held.push_back(datagram);
        return;
    }
    std::vector<std::vector<char>> out{datagram};
    if (static_cast<int>(m_random() % 100) < m_repeat)
        out.push_back(datagram);
    out.insert(out.end(), m_held.begin(), m_held.end());
    m_held.clear();
    for (const auto& d : out)
        for (const sockaddr_in& r : m_receivers) {
            sendto(m_socket, d.data(), static_cast<int>(d.size()), 0,
                   reinterpret_cast<const sockaddr*>(&r), sizeof r);
            ++m_forwarded;
        }
}
