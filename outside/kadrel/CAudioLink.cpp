#include "CAudioLink.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>

#include "AudioRelayWire.h"
#include "CAudioDatagram.h"

namespace {

bool Resolve(const char* server, int port, sockaddr_in* out)
{
    if (!server || !*server || port <= 0 || port > 65535)
        return false;
    addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_DGRAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(server, nullptr, &hints, &found) != 0 || !found)
        return false;
    bool ok = found->ai_addrlen >= sizeof(sockaddr_in);
    if (ok) {
        memcpy(out, found->ai_addr, sizeof(sockaddr_in));
        out->sin_port = htons(static_cast<u_short>(port));
    }
    freeaddrinfo(found);
    return ok;
}

// Waits up to ms for the socket to become readable.
bool Readable(SOCKET s, int ms)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    timeval wait = {ms / 1000, (ms % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &wait) > 0;
}

} // namespace

CAudioLink::CAudioLink() = default;

CAudioLink::~CAudioLink() { Disconnect(); }

void CAudioLink::Shutdown()
{
    Disconnect();
    if (m_winsock)
        WSACleanup();
    m_winsock = false;
}

bool CAudioLink::Connect(uint32_t roomId, uint32_t userId, const char* server, int port,
                         void* context, ReceiveFn receive)
{
    Disconnect();
    if (!m_winsock) {
        WSADATA data;
        m_winsock = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    sockaddr_in address = {};
    if (!m_winsock || !receive || !Resolve(server, port, &address))
        return false;
    SOCKET s = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    if (s == INVALID_SOCKET)
        return false;
    // Connected: only the server's datagrams are read. Reads wait a bounded
    // time, so that a disconnect is seen.
    int buffer = 64 * 1024;
    setsockopt(s, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&buffer), sizeof buffer);
    DWORD wait = 100;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&wait), sizeof wait);
    if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        closesocket(s);
        return false;
    }
    {
        std::lock_guard<std::mutex> lock(m_sendLock);
        m_socket = s;
    }
    m_roomId = roomId;
    m_userId = userId;
    m_context = context;
    m_receive = receive;
    if (!Join()) {
        std::lock_guard<std::mutex> lock(m_sendLock);
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
        return false;
    }
    m_running = true;
    m_thread = std::thread([this] { Receive(); });
    m_connected = true;
    return true;
}

bool CAudioLink::SendHead(uint8_t kind)
{
    uint8_t out[sizeof(AUDIO_RELAY_HEAD)];
    size_t n = CAudioDatagram::Build(kind, m_roomId, m_userId, nullptr, 0, out, sizeof out);
    std::lock_guard<std::mutex> lock(m_sendLock);
    return m_socket != INVALID_SOCKET && n &&
           send(m_socket, reinterpret_cast<const char*>(out), static_cast<int>(n), 0) ==
               static_cast<int>(n);
}

bool CAudioLink::Join()
{
    uint8_t reply[AUDIO_RELAY_MAX_DATAGRAM];
    for (int attempt = 0; attempt < JOIN_TRIES; ++attempt) {
        if (!SendHead(AUDIO_RELAY_JOIN))
            return false;
        const DWORD wait = std::min<DWORD>(JOIN_WAIT_MS * (attempt + 1), JOIN_WAIT_MAX_MS);
        const DWORD end = GetTickCount() + wait;
        for (;;) {
            const int left = static_cast<int>(end - GetTickCount());
            if (left <= 0 || !Readable(m_socket, left))
                break;
            int n = recv(m_socket, reinterpret_cast<char*>(reply), sizeof reply, 0);
            if (n < 0)
                continue; // nothing listens there (yet): the next try tells
            AUDIO_RELAY_HEAD head;
            const uint8_t* packet = nullptr;
            size_t length = 0;
            if (!CAudioDatagram::Parse(reply, static_cast<size_t>(n), &head, &packet, &length) ||
                head.roomId != m_roomId || head.userId != m_userId)
                continue;
            if (head.kind == AUDIO_RELAY_JOINED)
                return true;
            if (head.kind == AUDIO_RELAY_REFUSED)
                return false;
        }
    }
    return false;
}

void CAudioLink::Receive()
{
    uint8_t datagram[AUDIO_RELAY_MAX_DATAGRAM + 1];
    while (m_running) {
        int n = recv(m_socket, reinterpret_cast<char*>(datagram), sizeof datagram, 0);
        if (n < 0)
            continue; // the wait ran out, a datagram over the largest, or the port unreachable for a while
        AUDIO_RELAY_HEAD head;
        const uint8_t* packet = nullptr;
        size_t length = 0;
        if (!CAudioDatagram::Parse(datagram, static_cast<size_t>(n), &head, &packet, &length) ||
            head.kind != AUDIO_RELAY_AUDIO || head.roomId != m_roomId || head.userId == m_userId)
            continue;
        m_receive(m_context, head.userId, packet, static_cast<int>(length));
    }
}

void CAudioLink::Disconnect()
{
    if (m_connected)
        SendHead(AUDIO_RELAY_LEAVE);
    m_connected = false;
    m_running = false;
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard<std::mutex> lock(m_sendLock);
    if (m_socket != INVALID_SOCKET) {
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
}

bool CAudioLink::Send(const uint8_t* packet, int length)
{
    if (!m_connected || !packet || length <= 0 ||
        static_cast<size_t>(length) > AUDIO_RELAY_MAX_PACKET)
        return false;
    uint8_t out[AUDIO_RELAY_MAX_DATAGRAM];
    size_t n = CAudioDatagram::Build(AUDIO_RELAY_AUDIO, m_roomId, m_userId, packet,
                                     static_cast<size_t>(length), out, sizeof out);
    std::lock_guard<std::mutex> lock(m_sendLock);
    return m_socket != INVALID_SOCKET && n &&
           send(m_socket, reinterpret_cast<const char*>(out), static_cast<int>(n), 0) ==
               static_cast<int>(n);
}
