#include "CAudioRelay.h"

#include <windows.h>

#include <cstring>

#include "AudioRelayWire.h"
#include "CAudioDatagram.h"
#include "ServerSockets.h"

namespace {

bool SameEndpoint(const sockaddr_in& a, const sockaddr_in& b)
{
    return a.sin_addr.s_addr == b.sin_addr.s_addr && a.sin_port == b.sin_port;
}

} // namespace

CAudioRelay::CAudioRelay(Directory directory) : m_directory(std::move(directory)) {}

CAudioRelay::~CAudioRelay() { Stop(); }

bool CAudioRelay::Start(uint16_t port, bool loopbackOnly)
{
    if (m_running)
        return false;
    // Room for a burst of many speakers' packets, but no more: audio that
    // waited longer than that is better dropped than relayed late. A
    // bounded wait on each read, so that a stop is seen without closing the
    // socket under the reading thread.
    m_socket = OpenUdpSocket(port, loopbackOnly, RECEIVE_BUFFER, STOP_CHECK_MS, &m_port);
    if (m_socket == INVALID_SOCKET)
        return false;
    m_running = true;
    m_thread = std::thread([this] { Loop(); });
    return true;
}

void CAudioRelay::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    if (m_thread.joinable())
        m_thread.join();
    closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    std::lock_guard<std::mutex> lock(m_lock);
    m_endpoints.clear();
}

CAudioRelay::Counters CAudioRelay::GetCounters()
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_counters;
}

void CAudioRelay::Loop()
{
    // Audio waits for nobody: the relay goes before the server's other work.
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_ABOVE_NORMAL);
    uint8_t buffer[AUDIO_RELAY_MAX_DATAGRAM + 1];
    while (m_running) {
        sockaddr_in from = {};
        int fromLength = sizeof from;
        int n = recvfrom(m_socket, reinterpret_cast<char*>(buffer), sizeof buffer, 0,
                         reinterpret_cast<sockaddr*>(&from), &fromLength);
        // An error here is the wait running out, a datagram too long or a
        // port unreachable report from an earlier send: none ends the relay.
        if (n < 0)
            continue;
        Handle(buffer, static_cast<size_t>(n), from);
    }
}

void CAudioRelay::Reply(uint8_t kind, uint32_t roomId, uint32_t userId, const sockaddr_in& to)
{
    uint8_t out[sizeof(AUDIO_RELAY_HEAD)];
    size_t length = CAudioDatagram::Build(kind, roomId, userId, nullptr, 0, out, sizeof out);
    sendto(m_socket, reinterpret_cast<const char*>(out), static_cast<int>(length), 0,
           reinterpret_cast<const sockaddr*>(&to), sizeof to);
}

void CAudioRelay::Handle(const uint8_t* data, size_t length, const sockaddr_in& from)
{
    AUDIO_RELAY_HEAD head;
    const uint8_t* packet = nullptr;
    size_t packetLength = 0;
    const bool valid = CAudioDatagram::Parse(data, length, &head, &packet, &packetLength);
    std::unique_lock<std::mutex> lock(m_lock);
    ++m_counters.received;
    if (!valid || head.kind == AUDIO_RELAY_JOINED || head.kind == AUDIO_RELAY_REFUSED) {
        ++m_counters.malformed;
        return;
    }
    const Member self(head.roomId, head.userId);
    lock.unlock();
    uint8_t speakState = 0;
    std::vector<uint32_t> others;
    const bool member = m_directory(head.roomId, head.userId, &speakState, &others);
    lock.lock();

    auto known = m_endpoints.find(self);
    if (!member) {
        // Gone from the room (or never in it): his endpoint goes too.
        if (known != m_endpoints.end())
            m_endpoints.erase(known);
        ++m_counters.refused;
        lock.unlock();
        if (head.kind == AUDIO_RELAY_JOIN)
            Reply(AUDIO_RELAY_REFUSED, head.roomId, head.userId, from);
        return;
    }
    switch (head.kind) {
    case AUDIO_RELAY_JOIN:
        // A later join (the manager reconnected) moves the endpoint.
        m_endpoints[self] = from;
        lock.unlock();
        Reply(AUDIO_RELAY_JOINED, head.roomId, head.userId, from);
        return;
    case AUDIO_RELAY_LEAVE:
        if (known != m_endpoints.end() && SameEndpoint(known->second, from))
            m_endpoints.erase(known);
        return;
    default:
        break;
    }
    // Audio: only from the endpoint that joined for this participant.
    if (known == m_endpoints.end() || !SameEndpoint(known->second, from)) {
        ++m_counters.refused;
        return;
    }
    if (speakState != SPEAKING) {
        ++m_counters.droppedSilent;
        return;
    }
    std::vector<sockaddr_in> targets;
    for (uint32_t other : others) {
        auto endpoint = m_endpoints.find(Member(head.roomId, other));
        if (endpoint != m_endpoints.end())
            targets.push_back(endpoint->second);
    }
    m_counters.relayed += targets.size();
    lock.unlock();
    uint8_t out[AUDIO_RELAY_MAX_DATAGRAM];
    const size_t outLength = CAudioDatagram::Build(AUDIO_RELAY_AUDIO, head.roomId, head.userId,
                                                   packet, packetLength, out, sizeof out);
    for (const sockaddr_in& to : targets)
        sendto(m_socket, reinterpret_cast<const char*>(out), static_cast<int>(outLength), 0,
               reinterpret_cast<const sockaddr*>(&to), sizeof to);
}
