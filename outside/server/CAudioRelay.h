#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// The server's audio port: one UDP socket on which each participant's audio
// manager joins with (room, user) and sends its coded audio packets. Every
// packet goes to the room's other joined participants, marked with its
// source; the packets of a participant who does not speak are dropped.
class CAudioRelay
{
public:
    // Tells whether userId is in roomId; when he is, his speak state and the
    // room's other users.
    typedef std::function<bool(uint32_t roomId, uint32_t userId, uint8_t* speakState,
                               std::vector<uint32_t>* others)>
        Directory;

    enum { SPEAKING = 2, RECEIVE_BUFFER = 256 * 1024, STOP_CHECK_MS = 100 };

    struct Counters
    {
        uint64_t received = 0;      // datagrams read
        uint64_t relayed = 0;       // audio datagrams sent on
        uint64_t droppedSilent = 0; // audio of a participant who does not speak
        uint64_t refused = 0;       // joins or audio of no participant, or from a foreign endpoint
        uint64_t malformed = 0;     // datagrams that are no datagram of the port
    };

    explicit CAudioRelay(Directory directory);
    ~CAudioRelay();

    CAudioRelay(const CAudioRelay&) = delete;
    CAudioRelay& operator=(const CAudioRelay&) = delete;

    // Binds the port (0: a free one) on the loopback address or on every
    // address; Winsock must be started.
    bool Start(uint16_t port, bool loopbackOnly);
    void Stop();
    uint16_t GetPort() const { return m_port; }
    Counters GetCounters();

private:
    typedef std::pair<uint32_t, uint32_t> Member; // room, user

    void Loop();
    void Handle(const uint8_t* data, size_t length, const sockaddr_in& from);
    void Reply(uint8_t kind, uint32_t roomId, uint32_t userId, const sockaddr_in& to);

    Directory m_directory;
    SOCKET m_socket = INVALID_SOCKET;
    uint16_t m_port = 0;
    std::atomic<bool> m_running{false};
    std::thread m_thread;

    std::mutex m_lock; // endpoints and counters
    std::map<Member, sockaddr_in> m_endpoints;
    Counters m_counters;
};
