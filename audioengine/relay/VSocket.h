#pragma once
#include <winsock2.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <vector>

#include "CNamedThread.h"
#include "RelayBudget.h"

// One TCP connection with a queue of outgoing copies that its own thread
// drains, so that nobody else ever waits on a slow peer. The socket is
// non-blocking underneath. Bytes queued while nothing waits go out at once
// from the caller's thread, as far as the socket takes them without
// waiting; only the rest is left to the connection's thread. A receive that
// finds nothing sleeps until the system tells of new bytes or a close.
class VSocket : public CNamedThread
{
public:
    VSocket();
    ~VSocket() override;

    // A stream socket with address reuse and no send delay.
    bool Create();
    // Any address, or the loop-back address only. With refuseIfInUse a port
    // on which a connection to "localhost" succeeds is refused.
    bool Bind(uint16_t port, bool loopbackOnly = false, bool refuseIfInUse = false);
    bool Listen();
    // Set, on a listening socket, when a connection waits to be accepted,
    // and on a connected one when bytes or a close arrive (auto-reset).
    HANDLE GetArrivalEvent() const { return m_readable; }
    // Waits at most waitMs for a connection; the new socket's thread runs.
    // Null on a time-out, or with failed set when a connection could not be
    // taken.
    VSocket* Accept(uint32_t waitMs, bool* failed = nullptr);
    // A dotted address or a host name.
    bool Connect(const char* host, uint16_t port);
    // 0 means no limit.
    void SetTimeouts(uint32_t receiveMs, uint32_t sendMs);
    void SetSendBuffer(int bytes);
    // A connection whose queue would pass this many bytes is dropped.
    void SetQueueLimit(size_t bytes) { m_queueLimit = bytes; }
    // Counts this connection and its queued bytes in the server's budget
    // until it is destroyed; once only, before anything is queued.
    void SetBudget(RelayBudget* budget);

    // Queues a copy of the bytes. False, and nothing queued, when the
    // connection is closed or the bytes would pass the queue limit; with
    // dropOnOverflow the connection is then shut down so that its reader
    // sees the end, else only these bytes are refused.
    bool QueueSend(const void* data, size_t length, bool dropOnOverflow = true);
    // Sends at once from the calling thread, within the send time-out.
    bool SendNow(const void* data, size_t length);
    // Reads exactly length bytes: length, or 0 on a closed or failed
    // connection, a time-out or a shutdown.
    int ReceiveExact(void* data, size_t length);
    // Reads what has arrived, at most length bytes, waiting as a
    // ReceiveExact does until at least one byte is there: the count, or 0
    // as for ReceiveExact.
    int ReceiveSome(void* data, size_t length);
    // Reads what has arrived, at most length bytes, without waiting: the
    // count, 0 when nothing is there yet, -1 on a closed or failed connection.
    int ReceiveAvailable(void* data, size_t length);

    // Shuts both ways: a waiting receive returns at once.
    void Shutdown();
    // Shuts down, stops the thread, closes the socket and drops the queue.
    void Close();

    size_t GetQueuedBytes() const { return m_queuedBytes.load(); }
    // The queue limit was passed or a send failed: the connection is shut.
    bool IsDropped() const { return m_dropped.load(); }
    uint16_t GetLocalPort() const;
    SOCKET GetHandle() const { return m_socket; }
    // Times the sending thread has woken so far.
    uint32_t GetWakeCount() const { return m_wakes.load(); }

    uint32_t Run() override;

private:
    explicit VSocket(SOCKET accepted);
    bool WaitFor(bool write, uint32_t ms);
    // Exactly length bytes, or whatever arrives first.
    int Receive(void* data, size_t length, bool exact);
    // Asks the system to set m_readable when bytes or a close arrive.
    void WatchReads();
    enum Drained { DRAINED_DONE, DRAINED_FULL, DRAINED_NO_BUFFERS };
    // Sends queued bytes until the queue is empty, the socket takes no more
    // or the connection is shut or dropped.
    Drained DrainQueue();
    void ForgetQueueLocked();

    SOCKET m_socket = INVALID_SOCKET;
    HANDLE m_stop;
    HANDLE m_queued;   // set when an empty queue gets an item
    HANDLE m_readable; // auto-reset: bytes, a close or a connection arrived
    std::atomic<bool> m_shut{false};
    std::atomic<bool> m_dropped{false};
    std::atomic<uint32_t> m_wakes{0};
    // The last read took all that had arrived (under m_receiveLock): the
    // next one waits for the notice first instead of asking again.
    bool m_readDrained = false;
    uint32_t m_receiveTimeoutMs = 0;
    uint32_t m_sendTimeoutMs = 0;
    size_t m_queueLimit = 0;
    RelayBudget* m_budget = nullptr;

    struct Item
    {
        std::vector<uint8_t> bytes;
        size_t offset;
    };
    std::deque<Item> m_queue;
    std::atomic<size_t> m_queuedBytes{0};
    CRITICAL_SECTION m_queueLock;
    CRITICAL_SECTION m_receiveLock;
};
