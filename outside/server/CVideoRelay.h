#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

// The server's video relay: every participant who broadcasts gets a UDP
// port of his own. His video library sends its packets there; the video
// library of each participant who shows him reports to that port once a
// second (room id, own user id), which makes it a receiver. Every packet of
// the sender goes on, unchanged, to each receiver whose last report is less
// than RECEIVER_TIMEOUT_MS old.
class CVideoRelay
{
public:
    // True when userId is logged in to roomId.
    typedef std::function<bool(uint32_t roomId, uint32_t userId)> Directory;

    enum {
        REPORT_LENGTH = 20,
        HEAD_LENGTH = 12,
        EXTENDED_HEAD_LENGTH = 24,
        MAX_DATAGRAM = 1500,
        RECEIVER_TIMEOUT_MS = 5000,
        RECEIVE_BUFFER = 256 * 1024,
        WAIT_MS = 50,
        DRAIN_LIMIT = 256, // datagrams read from one port per round
    };

    struct Counters
    {
        uint64_t received = 0;  // datagrams read
        uint64_t relayed = 0;   // copies sent to receivers
        uint64_t reports = 0;   // receiver reports taken
        uint64_t refused = 0;   // reports of no participant, packets of a foreign endpoint
        uint64_t malformed = 0; // datagrams that are no video packet
    };

    explicit CVideoRelay(Directory directory, bool loopbackOnly);
    ~CVideoRelay();

    CVideoRelay(const CVideoRelay&) = delete;
    CVideoRelay& operator=(const CVideoRelay&) = delete;

    // The port of userId's video in roomId, opened on first use (0 when no
    // port could be bound). A sender keeps his port until StopSender.
    uint16_t StartSender(uint32_t roomId, uint32_t userId);
    void StopSender(uint32_t userId);
    uint16_t GetSenderPort(uint32_t userId);
    size_t GetReceiverCount(uint32_t userId);
    Counters GetCounters();

private:
    struct Endpoint
    {
        uint32_t address; // network order
        uint16_t port;    // network order
        bool operator<(const Endpoint& o) const
        {
            return address != o.address ? address < o.address : port < o.port;
        }
        bool operator==(const Endpoint& o) const { return address == o.address && port == o.port; }
    };
    struct Sender
    {
        uint32_t roomId = 0;
        uint32_t userId = 0;
        SOCKET socket = INVALID_SOCKET;
        uint16_t port = 0;
        bool senderKnown = false;
        Endpoint sender = {};
        std::map<Endpoint, uint32_t> receivers; // last report tick
    };

    void Loop();
    void Handle(uint32_t senderId, SOCKET socket, const uint8_t* data, size_t length,
                const sockaddr_in& from);
    // A receiver's report for this sender's room from another participant.
    bool IsReport(const Sender& sender, const uint8_t* data, size_t length);
    // The first piece of a frame that carries the sender's own stream id.
    static bool CarriesStreamId(const uint8_t* data, size_t length, uint32_t userId);

    Directory m_directory;
    bool m_loopbackOnly;
    std::atomic<bool> m_running{true};
    std::thread m_thread;

    std::mutex m_lock; // senders and counters
    std::map<uint32_t, std::unique_ptr<Sender>> m_senders;
    std::vector<SOCKET> m_closing;
    Counters m_counters;
};
