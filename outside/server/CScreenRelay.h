#pragma once
#include <winsock2.h>

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The server's application port: the screen-sharing programs of a room meet
// here. A sharer's pictures go to every viewer of the same room (each viewer
// gets the newest picture; one that falls behind skips pictures), a viewer's
// input goes to the room's sharers. Only participants logged in to the room
// are taken.
class CScreenRelay
{
public:
    // True when userId is logged in to roomId.
    typedef std::function<bool(uint32_t roomId, uint32_t userId)> Directory;

    struct Counters
    {
        uint64_t pictures = 0; // pictures taken from sharers
        uint64_t relayed = 0;  // pictures handed to viewers
        uint64_t inputs = 0;   // input messages handed to sharers
        uint64_t refused = 0;  // hellos of no participant, malformed messages
    };

    explicit CScreenRelay(Directory directory);
    ~CScreenRelay();

    CScreenRelay(const CScreenRelay&) = delete;
    CScreenRelay& operator=(const CScreenRelay&) = delete;

    // Port 0 takes a free one. Winsock must be started.
    bool Start(uint16_t port, bool loopbackOnly = true);
    void Stop();
    uint16_t GetPort() const { return m_port; }
    Counters GetCounters();
    size_t GetViewerCount(uint32_t roomId);

private:
    struct Peer
    {
        SOCKET socket = INVALID_SOCKET;
        uint32_t roomId = 0;
        uint32_t userId = 0;
        uint8_t role = 0;
        // What waits to be written to the peer: the newest picture, and
        // input messages in order.
        std::mutex lock;
        std::condition_variable signal;
        std::shared_ptr<const std::vector<uint8_t>> picture;
        std::vector<std::vector<uint8_t>> inputs;
        bool closing = false;
        std::thread writer;
    };

    void AcceptLoop();
    void ReadLoop(std::shared_ptr<Peer> peer);
    void WriteLoop(std::shared_ptr<Peer> peer);
    bool Hello(Peer& peer);
    void Forward(const Peer& from, uint8_t kind, std::vector<uint8_t>& message);
    void Drop(const std::shared_ptr<Peer>& peer);

    Directory m_directory;
    SOCKET m_listener = INVALID_SOCKET;
    uint16_t m_port = 0;
    std::atomic<bool> m_running{false};
    std::thread m_acceptThread;

    std::mutex m_lock; // peers, threads and counters
    std::vector<std::shared_ptr<Peer>> m_peers;
    std::vector<std::thread> m_readers;
    Counters m_counters;
};
