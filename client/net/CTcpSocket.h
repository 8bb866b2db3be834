#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>

// A thin owner of one stream socket handle. Every operation on a handle of 0
// returns 0 at once.
class CTcpSocket
{
public:
    CTcpSocket() = default;
    ~CTcpSocket() { Close(); }

    CTcpSocket(const CTcpSocket&) = delete;
    CTcpSocket& operator=(const CTcpSocket&) = delete;

    // Fails when a socket already exists.
    bool Create(int type);
    bool Connect(const sockaddr* address, int length);
    void Close();

    // Sends all of data, each wait for writability at most seconds; a socket
    // that stays unwritable is retried every 200 ms until totalMs have passed.
    // Returns the count sent, which is less than length on failure.
    int SendAll(const void* data, int length, uint32_t seconds, uint32_t totalMs);
    // One send after a writability wait: count sent, -1 on time-out, 0 on error.
    int SendOnce(const void* data, int length, uint32_t seconds);
    // One recv after a readability wait: count read, 0 on time-out, error or close.
    int RecvOnce(void* data, int length, uint32_t seconds);
    // One blocking recv: count read, 0 on error or close.
    int RecvOnce(void* data, int length);

    // Sends first and then second (either may be empty) as one gathering
    // call, without copying either; a peer that takes nothing for totalMs
    // ends the send. Returns the count sent, less than the sum on failure.
    int SendPair(const void* first, int firstLength, const void* second, int secondLength,
                 uint32_t totalMs);
    // One scattering recv into first and then second, after a readability
    // wait of at most seconds when timed: count read, 0 on time-out, error
    // or close.
    int RecvPair(void* first, int firstLength, void* second, int secondLength, uint32_t seconds,
                 bool timed);

    SOCKET GetHandle() const { return m_handle.load(); }
    bool IsOpen() const { return m_handle.load() != 0; }

private:
    // Close may run on one thread while another sends or receives, or closes
    // too: the handle is taken over by exactly one closer.
    std::atomic<SOCKET> m_handle{0};
    // The send time-out last given to the handle, so it is set once.
    uint32_t m_sendTimeoutMs = 0;
};
