#include "CVideoUdpSocket.h"

#include <cstdio>
#include <ctime>

#include "CScopedLock.h"
#include "CVideoPacket.h"

using namespace VideoWire;

CVideoUdpSocket::CVideoUdpSocket(std::unique_ptr<IDatagramSocket> socket)
    : m_socket(std::move(socket))
{
    InitializeCriticalSection(&m_lock);
    m_random.seed(static_cast<uint32_t>(time(nullptr)) ^
                  static_cast<uint32_t>(reinterpret_cast<uintptr_t>(this)) ^
                  static_cast<uint32_t>(clock()));
}

CVideoUdpSocket::~CVideoUdpSocket()
{
    Close();
    DeleteCriticalSection(&m_lock);
}

int CVideoUdpSocket::Open(uint16_t startPort, uint32_t localAddress)
{
    CScopedLock lock(&m_lock);
    if (m_open)
        return ALREADY_OPEN;
    if (!m_socket)
        return NO_SOCKET;
    bool bound = false;
    uint32_t port = startPort;
    for (; port <= 65535; ++port) {
        if (!m_socket->Create())
            return NO_SOCKET;
        if (!m_socket->SetReceiveBuffer(RECEIVE_BUFFER)) {
            m_socket->Close();
            return RCVBUF_REFUSED;
        }
        if (m_socket->Bind(localAddress, static_cast<uint16_t>(port))) {
            bound = true;
            break;
        }
    }
    if (!bound) {
        m_socket->Close();
        return NO_PORT;
    }
    m_port = static_cast<uint16_t>(port);
    std::uniform_int_distribution<uint32_t> byte(0, 255);
    m_timestamp =
        byte(m_random) << 24 | byte(m_random) << 16 | byte(m_random) << 8 | byte(m_random);
    m_random.seed(static_cast<uint32_t>(time(nullptr)) ^ (++m_opens * 2654435761u) ^
                  static_cast<uint32_t>(clock()));
    m_frameCounter = static_cast<uint16_t>(byte(m_random) << 8 | byte(m_random));
    m_open = 1;
    return OK;
}

int CVideoUdpSocket::Close()
{
    CScopedLock lock(&m_lock);
    if (!m_open)
        return NOT_OPEN;
    m_socket->Close();
    ClearLocked();
    m_open = 0;
    return OK;
}

int CVideoUdpSocket::AddLocked(uint32_t address, uint16_t port)
{
    std::vector<Destination>& bucket = m_buckets[address & 0xFF];
    for (const Destination& d : bucket)
        if (d.address == address && d.port == port)
            return OK;
    try {
        bucket.push_back({address, port});
        m_destinations.push_front({address, port});
    } catch (const std::bad_alloc&) {
        return NO_MEMORY;
    }
    return OK;
}

void CVideoUdpSocket::ClearLocked()
{
    for (std::vector<Destination>& bucket : m_buckets)
        bucket.clear();
    m_destinations.clear();
}

int CVideoUdpSocket::AddDestination(uint32_t address, uint16_t port)
{
    CScopedLock lock(&m_lock);
    return AddLocked(address, port);
}

void CVideoUdpSocket::ClearDestinations()
{
    CScopedLock lock(&m_lock);
    ClearLocked();
}

int CVideoUdpSocket::ReplaceDestinations(uint32_t address, uint16_t port)
{
    CScopedLock lock(&m_lock);
    ClearLocked();
    return AddLocked(address, port);
}

size_t CVideoUdpSocket::DestinationCount()
{
    CScopedLock lock(&m_lock);
    return m_destinations.size();
}

int CVideoUdpSocket::Send(const uint8_t* data, int length, int payloadType, int marker,
                          uint32_t timestampIncrement)
{
    CScopedLock lock(&m_lock);
    if (!m_open)
        return NOT_OPEN;
    if (!data || length < 1 || static_cast<uint32_t>(length) > MAX_FRAME)
        return OK;
    CVideoPacket::Header header;
    header.sequence = m_frameCounter;
    header.timestamp = m_timestamp;
    header.payloadType = static_cast<uint8_t>(payloadType);
    header.marker = static_cast<uint8_t>(marker ? 1 : 0);
    uint8_t packet[MAX_PACKET];
    const uint32_t count = PieceCount(static_cast<uint32_t>(length));
    for (uint32_t i = 0; i < count; ++i) {
        const size_t size = CVideoPacket::Build(packet, sizeof packet, header, data,
                                                static_cast<uint32_t>(length), i);
        for (const Destination& d : m_destinations)
            m_socket->SendTo(packet, static_cast<int>(size), d.address, d.port);
    }
    m_frameCounter = static_cast<uint16_t>(m_frameCounter + 1);
    m_timestamp += timestampIncrement;
    return OK;
}

int CVideoUdpSocket::ReceiveStep()
{
    if (!m_open)
        return NOT_OPEN;
    // Read until the socket would block, and at most a bounded number of
    // datagrams, so that a flood cannot hold the receive thread. The pending
    // count is not trusted to end the loop: an empty datagram at the head of
    // the queue can make it read 0 with more datagrams behind.
    for (int n = 0; n < MAX_DATAGRAMS_PER_STEP; ++n) {
        uint32_t address = 0;
        uint16_t port = 0;
        const int length = m_socket->ReceiveFrom(m_datagram, sizeof m_datagram, address, port);
        if (length == IDatagramSocket::WOULD_BLOCK)
            break;
        if (length == IDatagramSocket::TOO_LARGE) {
            char line[96];
            snprintf(line, sizeof line, "接收数据长度错误 len2=%d,len=%d\n", length,
                     m_socket->Pending());
            OutputDebugStringA(line);
            continue;
        }
        if (length < 0)
            break;
        if (length == 0)
            continue;
        // Parsed where it lies: a piece is copied once, into its frame.
        CVideoPacket::View datagram;
        if (CVideoPacket::ParseInPlace(m_datagram, static_cast<size_t>(length), address, port,
                                       datagram))
            m_reassembler.Add(datagram);
    }
    return OK;
}

VideoFramePtr CVideoUdpSocket::PopFrame() { return m_reassembler.Pop(); }

bool CVideoUdpSocket::ParseAddress(const char* text, uint32_t& address)
{
    if (!text)
        return false;
    uint32_t value = 0;
    const char* p = text;
    for (int part = 0; part < 4; ++part) {
        if (*p < '0' || *p > '9')
            return false;
        uint32_t octet = 0;
        int digits = 0;
        while (*p >= '0' && *p <= '9') {
            octet = octet * 10 + static_cast<uint32_t>(*p - '0');
            if (++digits > 3 || octet > 255)
                return false;
            ++p;
        }
        value = value << 8 | octet;
        if (part < 3) {
            if (*p != '.')
                return false;
            ++p;
        }
    }
    if (*p != '\0')
        return false;
    address = value;
    return true;
}
