#include "CVideoRelay.h"

#include "ServerSockets.h"
#include "WireReader.h"

#include <windows.h>

CVideoRelay::CVideoRelay(Directory directory, bool loopbackOnly)
    : m_directory(std::move(directory)), m_loopbackOnly(loopbackOnly)
{
    m_thread = std::thread([this] { Loop(); });
}

CVideoRelay::~CVideoRelay()
{
    m_running = false;
    if (m_thread.joinable())
        m_thread.join();
    for (auto& entry : m_senders)
        closesocket(entry.second->socket);
    for (SOCKET s : m_closing)
        closesocket(s);
}

uint16_t CVideoRelay::StartSender(uint32_t roomId, uint32_t userId)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_senders.find(userId);
    if (it != m_senders.end() && it->second->roomId == roomId)
        return it->second->port;
    if (it != m_senders.end()) {
        m_closing.push_back(it->second->socket);
        m_senders.erase(it);
    }
    uint16_t bound = 0;
    SOCKET s = OpenUdpSocket(0, m_loopbackOnly, RECEIVE_BUFFER, 0, &bound);
    if (s == INVALID_SOCKET)
        return 0;
    std::unique_ptr<Sender> sender(new Sender);
    sender->roomId = roomId;
    sender->userId = userId;
    sender->socket = s;
    sender->port = bound;
    uint16_t port = sender->port;
    m_senders[userId] = std::move(sender);
    return port;
}

void CVideoRelay::StopSender(uint32_t userId)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_senders.find(userId);
    if (it == m_senders.end())
        return;
    // Closed by the relay's thread, which may be waiting on it right now.
    m_closing.push_back(it->second->socket);
    m_senders.erase(it);
}

uint16_t CVideoRelay::GetSenderPort(uint32_t userId)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_senders.find(userId);
    return it == m_senders.end() ? 0 : it->second->port;
}

size_t CVideoRelay::GetReceiverCount(uint32_t userId)
{
    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_senders.find(userId);
    return it == m_senders.end() ? 0 : it->second->receivers.size();
}

CVideoRelay::Counters CVideoRelay::GetCounters()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_counters;
}

void CVideoRelay::Loop()
{
    std::vector<uint8_t> buffer(MAX_DATAGRAM + 1);
    while (m_running) {
        // The sockets to wait on; only this thread closes sockets, so they
        // stay valid while it reads them without the lock.
        std::vector<std::pair<uint32_t, SOCKET>> sockets;
        {
            std::lock_guard<std::mutex> lock(m_lock);
            for (SOCKET s : m_closing)
                closesocket(s);
            m_closing.clear();
            for (auto& entry : m_senders)
                if (sockets.size() < FD_SETSIZE)
                    sockets.emplace_back(entry.first, entry.second->socket);
        }
        if (sockets.empty()) {
            Sleep(WAIT_MS);
            continue;
        }
        fd_set readable;
        FD_ZERO(&readable);
        for (auto& s : sockets)
            FD_SET(s.second, &readable);
        timeval wait = {0, WAIT_MS * 1000};
        if (select(0, &readable, nullptr, nullptr, &wait) <= 0)
            continue;
        for (auto& s : sockets) {
            if (!FD_ISSET(s.second, &readable))
                continue;
            // Everything that waits on this port, so that one busy sender
            // costs one round, not one round a datagram.
            u_long pending = 1;
            for (int n = 0; n < DRAIN_LIMIT && pending > 0; ++n) {
                sockaddr_in from = {};
                int fromLength = sizeof from;
                int got =
                    recvfrom(s.second, reinterpret_cast<char*>(buffer.data()), (int)buffer.size(),
                             0, reinterpret_cast<sockaddr*>(&from), &fromLength);
                if (got > 0) // else an error, or a datagram larger than any video packet
                    Handle(s.first, s.second, buffer.data(), (size_t)got, from);
                if (ioctlsocket(s.second, FIONREAD, &pending) != 0)
                    pending = 0;
            }
        }
    }
}

bool CVideoRelay::IsReport(const Sender& sender, const uint8_t* data, size_t length)
{
    if (length != REPORT_LENGTH || (data[0] & 0x10) != 0)
        return false;
    WireReader in(data, length);
    uint32_t roomId = 0, userId = 0;
    in.Seek(HEAD_LENGTH);
    if (!in.U32(roomId) || !in.U32(userId))
        return false;
    return roomId == sender.roomId && userId != 0;
}

bool CVideoRelay::CarriesStreamId(const uint8_t* data, size_t length, uint32_t userId)
{
    WireReader in(data, length);
    uint32_t stream = 0;
    if ((data[0] & 0x10) == 0) {
        in.Seek(HEAD_LENGTH);
        return in.U32(stream) && stream == userId;
    }
    uint16_t index = 0xFFFF;
    in.Seek(HEAD_LENGTH + 10);
    if (!in.U16(index) || index != 0)
        return false;
    return in.U32(stream) && stream == userId;
}

void CVideoRelay::Handle(uint32_t senderId, SOCKET socket, const uint8_t* data, size_t length,
                         const sockaddr_in& from)
{
    uint32_t roomId = 0, reporter = 0;
    bool report = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_counters.received;
        auto it = m_senders.find(senderId);
        if (it == m_senders.end() || it->second->socket != socket)
            return;
        if (length < HEAD_LENGTH || length > MAX_DATAGRAM || (data[0] & 0xC0) != 0x80) {
            ++m_counters.malformed;
            return;
        }
        report = IsReport(*it->second, data, length);
        roomId = it->second->roomId;
        if (report) {
            WireReader in(data, length);
            in.Seek(HEAD_LENGTH + 4);
            in.U32(reporter);
        }
    }
    // The directory takes the server's own lock: never under the relay's.
    bool member = report && m_directory && m_directory(roomId, reporter);

    std::lock_guard<std::mutex> lock(m_lock);
    auto it = m_senders.find(senderId);
    if (it == m_senders.end() || it->second->socket != socket)
        return;
    Sender& sender = *it->second;
    Endpoint source = {from.sin_addr.s_addr, from.sin_port};
    DWORD now = GetTickCount();
    // The broadcaster may watch his own picture, but a report in his name
    // is taken only from another endpoint than the one his packets come
    // from: a short packet of his own can look like one.
    if (report && reporter == sender.userId && (!sender.senderKnown || sender.sender == source))
        report = false;
    if (report) {
        if (!member) {
            ++m_counters.refused;
            return;
        }
        sender.receivers[source] = now;
        ++m_counters.reports;
        return;
    }
    if (!sender.senderKnown) {
        if (!CarriesStreamId(data, length, sender.userId)) {
            ++m_counters.refused;
            return;
        }
        sender.senderKnown = true;
        sender.sender = source;
    } else if (!(sender.sender == source)) {
        ++m_counters.refused;
        return;
    }
    for (auto r = sender.receivers.begin(); r != sender.receivers.end();) {
        if (now - r->second > RECEIVER_TIMEOUT_MS) {
            r = sender.receivers.erase(r);
            continue;
        }
        sockaddr_in to = {};
        to.sin_family = AF_INET;
        to.sin_addr.s_addr = r->first.address;
        to.sin_port = r->first.port;
        sendto(sender.socket, reinterpret_cast<const char*>(data), (int)length, 0,
               reinterpret_cast<const sockaddr*>(&to), sizeof to);
        ++m_counters.relayed;
        ++r;
    }
}
