#include "CTcpLink.h"

#include <cstring>
#include <new>

#include "WireReader.h"
#include "WireWriter.h"

CTcpLink::CTcpLink(uint32_t kind) : m_kind(kind) {}

CTcpLink::~CTcpLink() { Close(); }

bool CTcpLink::Connect(const char* address, uint16_t port)
{
    if (m_socket.IsOpen()) {
        m_socket.Close();
        return false;
    }
    if (!address)
        return false;
    if (!m_carry)
        m_carry.reset(new (std::nothrow) unsigned char[FRAME_HEAD_SIZE + FRAME_MAX_PAYLOAD]);
    m_carryStart = m_carryCount = 0;
    if (!m_carry || !m_socket.Create(SOCK_STREAM))
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
    // Frames are small and each is answered: none may wait for the peer's
    // delayed acknowledgement of the one before.
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

void CTcpLink::Close() { m_socket.Close(); }

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

    // Header and payload leave in one gathering call: the payload is not
    // copied and the peer gets the frame in one piece.
    int sent = m_socket.SendPair(m_sendHead, static_cast<int>(m_headSize), payload,
                                 static_cast<int>(length), m_sendLimitMs);
    if (sent != static_cast<int>(m_headSize + length)) {
        m_socket.Close();
        return 0;
    }
    return m_headSize + length;
}

int32_t CTcpLink::TakeCarried(unsigned char* buffer, int32_t length)
{
    int32_t n = length < m_carryCount ? length : m_carryCount;
    if (n <= 0)
        return 0;
    memcpy(buffer, m_carry.get() + m_carryStart, static_cast<size_t>(n));
    m_carryStart += n;
    m_carryCount -= n;
    if (m_carryCount == 0)
        m_carryStart = 0;
    return n;
}

bool CTcpLink::ReadExactly(void* buffer, int32_t length, uint32_t seconds, bool timed, int32_t* got)
{
    unsigned char* bytes = static_cast<unsigned char*>(buffer);
    *got = TakeCarried(bytes, length);
    while (*got < length) {
        int n = m_socket.RecvPair(nullptr, 0, bytes + *got, length - *got, seconds, timed);
        if (n <= 0)
            return false;
        *got += n;
    }
    return true;
}

int32_t CTcpLink::Receive(void* buffer, int32_t capacity, uint32_t seconds, bool timed)
{
    SetLastError(0);
    if (!buffer || capacity < 0 || !m_carry)
        return 0;
    unsigned char* payload = static_cast<unsigned char*>(buffer);
    const int32_t headSize = static_cast<int32_t>(m_headSize);
    // The header comes from bytes kept from the last read, or from one read
    // that also takes as much of the payload as has arrived.
    int32_t got = TakeCarried(m_recvHead, headSize);
    int32_t early = 0; // payload bytes already in the caller's buffer
    while (got < headSize) {
        int32_t room = capacity < static_cast<int32_t>(m_maxPayload)
                           ? capacity
                           : static_cast<int32_t>(m_maxPayload);
        int n = m_socket.RecvPair(m_recvHead + got, headSize - got, payload, room, seconds, timed);
        if (n <= 0) {
            // Nothing of the frame read: the stream is still in step. Part
            // of a header read: it is not, and the connection cannot be used
            // again.
            if (got > 0)
                m_socket.Close();
            return 0;
        }
        if (n > headSize - got) {
            early = n - (headSize - got);
            got = headSize;
        } else {
            got += n;
        }
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
        m_carryCount = m_carryStart = 0;
        return 0;
    }
    if (early > length) {
        // The read went on into the next frames: keep those bytes.
        m_carryStart = 0;
        m_carryCount = early - length;
        memcpy(m_carry.get(), payload + length, static_cast<size_t>(m_carryCount));
        early = length;
    }
    if (length == 0)
        return 0;
    int32_t rest = 0;
    if (early < length && !ReadExactly(payload + early, length - early, seconds, timed, &rest)) {
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

CTcpLink* CreateTcpLink(uint32_t kind) { return new (std::nothrow) CTcpLink(kind); }

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
