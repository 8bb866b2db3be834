#include "CTcpLink.h"

#include <cstring>
#include <new>

#include "WireReader.h"
#include "WireWriter.h"

CTcpLink::CTcpLink(uint32_t kind) : m_kind(kind)
{
}

CTcpLink::~CTcpLink()
{
    Close();
}

bool CTcpLink::Connect(const char* address, uint16_t port)
{
    if (m_socket.IsOpen()) {
        m_socket.Close();
        return false;
    }
    if (!address || !m_socket.Create(SOCK_STREAM))
        return false;
    int size = RECV_BUFFER_SIZE;
    sockaddr_in peer = {};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = inet_addr(address);
    if (peer.sin_addr.s_addr == INADDR_NONE && strcmp(address, "255.255.255.255") != 0) {
        m_socket.Close();
        return false;
    }
    // Header and payload go out as two sends; without TCP_NODELAY the payload
    // would wait for the peer's delayed acknowledgement of the header.
    BOOL noDelay = TRUE;
    setsockopt(m_socket.GetHandle(), IPPROTO_TCP, TCP_NODELAY,
               reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    if (setsockopt(m_socket.GetHandle(), SOL_SOCKET, SO_RCVBUF,
                   reinterpret_cast<const char*>(&size), sizeof size) != 0 ||
        !m_socket.Connect(reinterpret_cast<const sockaddr*>(&peer), sizeof peer)) {
        m_socket.Close();
        return false;
    }
    return true;
}

void CTcpLink::Close()
{
    m_socket.Close();
}

uint32_t CTcpLink::Send(const void* payload, uint32_t length)
{
    SetLastError(0);
    if (!payload || length == 0 || length > FRAME_MAX_PAYLOAD)
        return 0;
    WireWriter head(m_sendHead, sizeof m_sendHead);
    head.U8(FRAME_MARKER);
    head.U8(0);
    head.U16(static_cast<uint16_t>(length));
    head.U8(FRAME_MARKER);
    head.U8(0);

    int sentHead = m_socket.SendAll(m_sendHead, m_headSize, SEND_WAIT_SECONDS, m_sendLimitMs);
    if (sentHead != static_cast<int>(m_headSize)) {
        m_socket.Close();
        return 0;
    }
    int sentBody = m_socket.SendAll(payload, static_cast<int>(length), SEND_WAIT_SECONDS,
                                    m_sendLimitMs);
    if (sentBody != static_cast<int>(length)) {
        m_socket.Close();
        return 0;
    }
    return m_headSize + length;
}

bool CTcpLink::ReadExactly(void* buffer, int32_t length, uint32_t seconds, bool timed,
                           int32_t* got)
{
    char* bytes = static_cast<char*>(buffer);
    *got = 0;
    while (*got < length) {
        int n = timed ? m_socket.RecvOnce(bytes + *got, length - *got, seconds)
                      : m_socket.RecvOnce(bytes + *got, length - *got);
        if (n <= 0)
            return false;
        *got += n;
    }
    return true;
}

int32_t CTcpLink::Receive(void* buffer, int32_t capacity, uint32_t seconds, bool timed)
{
    SetLastError(0);
    if (!buffer || capacity < 0)
        return 0;
    int32_t got = 0;
    if (!ReadExactly(m_recvHead, static_cast<int32_t>(m_headSize), seconds, timed, &got)) {
        // Nothing of the frame read: the stream is still in step. Part of a
        // header read: it is not, and the connection cannot be used again.
        if (got > 0)
            m_socket.Close();
        return 0;
    }
    WireReader head(m_recvHead, sizeof m_recvHead);
    uint8_t marker1 = 0, unused = 0, marker2 = 0;
    uint16_t length = 0;
    head.U8(marker1);
    head.U8(unused);
    head.U16(length);
    head.U8(marker2);
    if (marker1 != FRAME_MARKER || marker2 != FRAME_MARKER || length > m_maxPayload ||
        length > capacity) {
        m_socket.Close();
        return 0;
    }
    if (length == 0)
        return 0;
    if (!ReadExactly(buffer, length, seconds, timed, &got)) {
        m_socket.Close();
        return 0;
    }
    return length;
}

int32_t CTcpLink::Recv(void* buffer, int32_t capacity)
{
    return Receive(buffer, capacity, 0, false);
}

int32_t CTcpLink::RecvTimeout(void* buffer, int32_t capacity, uint32_t seconds)
{
    return Receive(buffer, capacity, seconds, true);
}

bool StartWinsock()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return false;
    if (data.wVersion != MAKEWORD(2, 2)) {
        WSACleanup();
        return false;
    }
    return true;
}

CTcpLink* CreateTcpLink(uint32_t kind)
{
    return new (std::nothrow) CTcpLink(kind);
}

void DestroyTcpLink(CTcpLink*& link)
{
    if (!link)
        return;
    link->Close();
    delete link;
    link = nullptr;
}

bool LinkConnect(CTcpLink* link, const char* address, uint16_t port)
{
    return link ? link->Connect(address, port) : false;
}

uint32_t LinkSend(CTcpLink* link, const void* payload, uint32_t length)
{
    return link ? link->Send(payload, length) : 0;
}

int32_t LinkRecv(CTcpLink* link, void* buffer, int32_t capacity)
{
    return link ? link->Recv(buffer, capacity) : 0;
}

int32_t LinkRecvTimeout(CTcpLink* link, void* buffer, int32_t capacity, uint32_t seconds)
{
    return link ? link->RecvTimeout(buffer, capacity, seconds) : 0;
}

void LinkClose(CTcpLink* link)
{
    if (link)
        link->Close();
}
