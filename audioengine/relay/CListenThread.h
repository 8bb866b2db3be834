#pragma once
#include <winsock2.h> // before windows.h

#include <atomic>
#include <cstdint>

#include "CNamedThread.h"

class CRelayServer;
class VSocket;

// Accepts connections on the server's port and hands each, one at a time,
// to the server's join.
class CListenThread : public CNamedThread
{
public:
    enum { ACCEPT_WAIT_MS = 50, FAILED_ACCEPT_PAUSE_MS = 100 };

    explicit CListenThread(CRelayServer* server);
    ~CListenThread() override;

    // Creates, binds (any address) and listens; port 0 takes a free port.
    bool Open(uint16_t port);
    uint16_t GetPort() const { return m_port; }
    // Stops accepting, joins the thread and closes the socket.
    void Stop() override;

    uint32_t Run() override;

private:
    CRelayServer* m_server;
    VSocket* m_socket;
    uint16_t m_port = 0;
    HANDLE m_stopEvent;
    std::atomic<bool> m_stopping{false};
};
