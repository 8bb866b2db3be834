#pragma once
#include <winsock2.h> // before windows.h

#include <atomic>
#include <cstdint>
#include <vector>

#include "CNamedThread.h"
#include "RelayProtocol.h"

class CRelayServer;
class VSocket;

// Accepts connections on the server's port and collects each one's join
// head side by side, so that a slow or silent joiner delays nobody else;
// a connection whose head is complete goes to the server's join, one whose
// head does not arrive in time is closed. With no head awaited the thread
// sleeps until a connection arrives.
class CListenThread : public CNamedThread
{
public:
    // IDLE_WAIT_MS only bounds a missed notice of a new connection.
    enum { ACCEPT_WAIT_MS = 50, FAILED_ACCEPT_PAUSE_MS = 100, IDLE_WAIT_MS = 1000 };

    CListenThread(CRelayServer* server, const RELAY_LIMITS& limits);
    ~CListenThread() override;

    // Creates, binds (any address) and listens; port 0 takes a free port.
    bool Open(uint16_t port);
    uint16_t GetPort() const { return m_port; }
    // Stops accepting, joins the thread and closes the socket and every
    // connection whose join head is still awaited.
    void Stop() override;

    size_t GetPendingCount() const { return m_pendingCount.load(); }
    // Times the thread has woken so far.
    uint32_t GetWakeCount() const { return m_wakes.load(); }

    uint32_t Run() override;

private:
    struct Pending
    {
        VSocket* socket;
        uint8_t head[sizeof(RELAY_JOIN_HEAD)];
        size_t got;
        DWORD since;
    };
    // True when a connection was taken (kept or refused), false when none
    // waited or it could not be taken.
    bool AcceptOne();
    // Reads what arrived; true when the connection is done with (joined or closed).
    bool ReadHead(Pending& pending);
    void DropAll();

    CRelayServer* m_server;
    RELAY_LIMITS m_limits;
    VSocket* m_socket;
    uint16_t m_port = 0;
    HANDLE m_stopEvent;
    std::atomic<bool> m_stopping{false};
    std::vector<Pending> m_pending;
    std::atomic<size_t> m_pendingCount{0};
    std::atomic<uint32_t> m_wakes{0};
};
