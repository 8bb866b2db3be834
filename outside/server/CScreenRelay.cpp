#include "CScreenRelay.h"

#include <ws2tcpip.h>

#include <algorithm>

#include "ScreenRelayWire.h"
#include "ServerSockets.h"
#include "WireReader.h"
#include "WireWriter.h"

namespace {

// Reads exactly length bytes; false when the connection ends or running
// turns false (checked every 100 ms: a blocked read is not always woken by
// a shutdown of its socket).
bool ReceiveAll(SOCKET s, void* data, size_t length, const std::atomic<bool>& running)
{
    char* p = static_cast<char*>(data);
    while (length) {
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(s, &ready);
        timeval wait = {0, 100 * 1000};
        const int state = select(0, &ready, nullptr, nullptr, &wait);
        if (!running || state < 0)
            return false;
        if (state == 0)
            continue;
        const int n = recv(s, p, static_cast<int>(std::min<size_t>(length, 1 << 20)), 0);
        if (n <= 0)
            return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

bool SendAll(SOCKET s, const void* data, size_t length)
{
    const char* p = static_cast<const char*>(data);
    while (length) {
        const int n = send(s, p, static_cast<int>(std::min<size_t>(length, 1 << 20)), 0);
        if (n <= 0)
            return false;
        p += n;
        length -= static_cast<size_t>(n);
    }
    return true;
}

std::vector<uint8_t> Message(uint8_t kind, const void* body, size_t length)
{
    std::vector<uint8_t> m(sizeof(SCREEN_RELAY_HEAD) + length);
    WireWriter w(m.data(), m.size());
    w.U32(static_cast<uint32_t>(length));
    w.U8(kind);
    w.Zeros(3);
    w.Bytes(body, length);
    return m;
}

} // namespace

CScreenRelay::CScreenRelay(Directory directory) : m_directory(std::move(directory)) {}

CScreenRelay::~CScreenRelay() { Stop(); }

bool CScreenRelay::Start(uint16_t port, bool loopbackOnly)
{
    m_listener = OpenTcpListener(port, loopbackOnly, &m_port);
    if (m_listener == INVALID_SOCKET)
        return false;
    m_running = true;
    m_acceptThread = std::thread(&CScreenRelay::AcceptLoop, this);
    return true;
}

void CScreenRelay::Stop()
{
    if (!m_running.exchange(false))
        return;
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    closesocket(m_listener);
    m_listener = INVALID_SOCKET;
    std::vector<std::thread> readers;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto& peer : m_peers)
            shutdown(peer->socket, SD_BOTH);
        readers.swap(m_readers);
    }
    for (auto& t : readers)
        if (t.joinable())
            t.join();
}

CScreenRelay::Counters CScreenRelay::GetCounters()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_counters;
}

size_t CScreenRelay::GetViewerCount(uint32_t roomId)
{
    std::lock_guard<std::mutex> guard(m_lock);
    return static_cast<size_t>(
        std::count_if(m_peers.begin(), m_peers.end(), [&](const std::shared_ptr<Peer>& p) {
            return p->roomId == roomId && p->role == SCREEN_ROLE_VIEWER;
        }));
}

void CScreenRelay::AcceptLoop()
{
    while (m_running) {
        // Bounded waits, so that a stop is seen without closing the socket
        // under a blocked accept.
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(m_listener, &ready);
        timeval wait = {0, 100 * 1000};
        if (select(0, &ready, nullptr, nullptr, &wait) <= 0)
            continue;
        SOCKET s = accept(m_listener, nullptr, nullptr);
        if (s == INVALID_SOCKET) {
            if (!m_running)
                break;
            Sleep(10);
            continue;
        }
        auto peer = std::make_shared<Peer>();
        peer->socket = s;
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_running) {
            closesocket(s);
            break;
        }
        m_peers.push_back(peer);
        m_readers.emplace_back(&CScreenRelay::ReadLoop, this, peer);
    }
}

bool CScreenRelay::Hello(Peer& peer)
{
    uint8_t head[sizeof(SCREEN_RELAY_HEAD) + sizeof(SCREEN_HELLO)];
    if (!ReceiveAll(peer.socket, head, sizeof head, m_running))
        return false;
    WireReader r(head, sizeof head);
    uint32_t length = 0;
    uint8_t kind = 0;
    SCREEN_HELLO hello = {};
    r.U32(length);
    r.U8(kind);
    r.Skip(3);
    r.U32(hello.roomId);
    r.U32(hello.userId);
    r.U8(hello.role);
    const bool ok = r.Ok() && kind == SCREEN_RELAY_HELLO && length == sizeof(SCREEN_HELLO) &&
                    (hello.role == SCREEN_ROLE_SHARER || hello.role == SCREEN_ROLE_VIEWER) &&
                    m_directory && m_directory(hello.roomId, hello.userId);
    const std::vector<uint8_t> answer =
        Message(ok ? SCREEN_RELAY_WELCOME : SCREEN_RELAY_REFUSED, nullptr, 0);
    if (!ok) {
        SendAll(peer.socket, answer.data(), answer.size());
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_counters.refused;
        return false;
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        peer.roomId = hello.roomId;
        peer.userId = hello.userId;
        peer.role = hello.role;
    }
    return SendAll(peer.socket, answer.data(), answer.size());
}

void CScreenRelay::ReadLoop(std::shared_ptr<Peer> peer)
{
    if (Hello(*peer)) {
        peer->writer = std::thread(&CScreenRelay::WriteLoop, this, peer);
        for (;;) {
            uint8_t head[sizeof(SCREEN_RELAY_HEAD)];
            if (!ReceiveAll(peer->socket, head, sizeof head, m_running))
                break;
            WireReader r(head, sizeof head);
            uint32_t length = 0;
            uint8_t kind = 0;
            r.U32(length);
            r.U8(kind);
            const bool picture = kind == SCREEN_RELAY_PICTURE && peer->role == SCREEN_ROLE_SHARER &&
                                 length >= sizeof(SCREEN_PICTURE) &&
                                 length <= SCREEN_RELAY_MAX_BODY;
            const bool input = kind == SCREEN_RELAY_INPUT && peer->role == SCREEN_ROLE_VIEWER &&
                               length == sizeof(SCREEN_INPUT);
            if (!picture && !input) {
                std::lock_guard<std::mutex> guard(m_lock);
                ++m_counters.refused;
                break;
            }
            std::vector<uint8_t> message(sizeof head + length);
            memcpy(message.data(), head, sizeof head);
            if (!ReceiveAll(peer->socket, message.data() + sizeof head, length, m_running))
                break;
            Forward(*peer, kind, message);
        }
    }
    Drop(peer);
}

void CScreenRelay::Forward(const Peer& from, uint8_t kind, std::vector<uint8_t>& message)
{
    std::vector<std::shared_ptr<Peer>> targets;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        const uint8_t role = kind == SCREEN_RELAY_PICTURE ? SCREEN_ROLE_VIEWER : SCREEN_ROLE_SHARER;
        for (auto& p : m_peers)
            if (p.get() != &from && p->roomId == from.roomId && p->role == role &&
                p->userId != from.userId)
                targets.push_back(p);
        if (kind == SCREEN_RELAY_PICTURE) {
            ++m_counters.pictures;
            m_counters.relayed += targets.size();
        } else {
            m_counters.inputs += targets.size();
        }
    }
    if (kind == SCREEN_RELAY_PICTURE) {
        // The sharer's id, as the server knows it.
        WireWriter w(message.data(), message.size());
        w.Seek(sizeof(SCREEN_RELAY_HEAD));
        w.U32(from.userId);
        auto shared = std::make_shared<const std::vector<uint8_t>>(std::move(message));
        for (auto& t : targets) {
            std::lock_guard<std::mutex> guard(t->lock);
            t->picture = shared;
            t->signal.notify_one();
        }
    } else {
        for (auto& t : targets) {
            std::lock_guard<std::mutex> guard(t->lock);
            if (t->inputs.size() < 256)
                t->inputs.push_back(message);
            t->signal.notify_one();
        }
    }
}

void CScreenRelay::WriteLoop(std::shared_ptr<Peer> peer)
{
    for (;;) {
        std::shared_ptr<const std::vector<uint8_t>> picture;
        std::vector<std::vector<uint8_t>> inputs;
        {
            std::unique_lock<std::mutex> guard(peer->lock);
            peer->signal.wait(
                guard, [&] { return peer->closing || peer->picture || !peer->inputs.empty(); });
            if (peer->closing)
                return;
            picture.swap(peer->picture);
            inputs.swap(peer->inputs);
        }
        for (const auto& m : inputs)
            if (!SendAll(peer->socket, m.data(), m.size()))
                return;
        if (picture && !SendAll(peer->socket, picture->data(), picture->size()))
            return;
    }
}

void CScreenRelay::Drop(const std::shared_ptr<Peer>& peer)
{
    {
        std::lock_guard<std::mutex> guard(peer->lock);
        peer->closing = true;
        peer->signal.notify_one();
    }
    shutdown(peer->socket, SD_BOTH);
    if (peer->writer.joinable())
        peer->writer.join();
    std::lock_guard<std::mutex> guard(m_lock);
    m_peers.erase(std::remove(m_peers.begin(), m_peers.end(), peer), m_peers.end());
    closesocket(peer->socket);
    peer->socket = INVALID_SOCKET;
}
