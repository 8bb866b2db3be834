#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

// The audio channel to the server's audio port: one UDP socket that joins
// (room, user), sends the own coded packets and receives the others', each
// marked with its source.
class CAudioLink
{
public:
    // A received packet: (context, source user id, packet, length).
    typedef void (*ReceiveFn)(void* context, uint32_t sourceId, const uint8_t* packet, int length);

    CAudioLink();
    ~CAudioLink();

    CAudioLink(const CAudioLink&) = delete;
    CAudioLink& operator=(const CAudioLink&) = delete;

    // Resolves the server (dotted address or host name), joins and starts
    // receiving; false when the name does not resolve, or the server
    // refused the join or did not answer it in time.
    bool Connect(uint32_t roomId, uint32_t userId, const char* server, int port, void* context,
                 ReceiveFn receive);
    // Leaves and stops receiving; nothing is delivered after it returns.
    void Disconnect();
    // Disconnects and lets Winsock go (started by the first connect).
    void Shutdown();
    bool IsConnected() const { return m_connected; }
    uint32_t UserId() const { return m_userId; }
    // Sends one packet; false when not connected or the packet is refused.
    bool Send(const uint8_t* packet, int length);

    // A join is sent again with a longer wait each time (0.5 s growing to
    // 2 s, about 9 s in all): a relay on a busy machine answers late.
    enum { JOIN_TRIES = 6, JOIN_WAIT_MS = 500, JOIN_WAIT_MAX_MS = 2000 };

private:
    bool Join();
    void Receive();
    bool SendHead(uint8_t kind);

    bool m_winsock = false;
    SOCKET m_socket = INVALID_SOCKET;
    std::mutex m_sendLock; // the socket against a disconnect while the capture thread sends
    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_running{false};
    std::thread m_thread;
    uint32_t m_roomId = 0;
    uint32_t m_userId = 0;
    void* m_context = nullptr;
    ReceiveFn m_receive = nullptr;
};
