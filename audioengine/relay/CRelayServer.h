#pragma once
#include <winsock2.h> // before windows.h

#include <cstdint>
#include <vector>

#include "ITickSource.h"
#include "RelayBudget.h"
#include "RelayProtocol.h"

class CConference;
class CListenThread;
class VSocket;

// The relay server: its conferences and the listen thread that joins new
// connections to them.
class CRelayServer
{
public:
    CRelayServer(const RELAY_LIMITS& limits, TickSourceFactory ticks);
    // Closes the server first.
    ~CRelayServer();

    CRelayServer(const CRelayServer&) = delete;
    CRelayServer& operator=(const CRelayServer&) = delete;

    // Listens on the port (0 takes a free one) and starts the listen thread.
    bool Start(uint16_t port);
    // Stops the listen thread, then every conference.
    void Close();

    uint16_t GetPort() const;
    size_t GetConferenceCount();
    // How often the threads of the conferences open now have woken.
    uint32_t GetConferenceWakes();
    // How often the listen thread has woken.
    uint32_t GetListenWakes() const;

    // A connection just accepted, on the listen thread: counts it in the
    // server's budget, or false when the server holds all it may.
    bool AdmitConnection(VSocket* socket);
    // A connection whose join head arrived, on the listen thread: makes it a
    // source or a listener, or closes it. Takes the socket.
    void Join(VSocket* socket, const uint8_t* head);

    size_t GetQueuedBytes() const { return m_budget.queuedBytes.load(); }
    uint32_t GetConnectionCount() const { return m_budget.connections.load(); }

private:
    // The conference of the id, created when new; null when it cannot be.
    CConference* FindOrCreate(uint32_t id, uint32_t key, bool& wrongKey);
    void EndEmptyConferences();

    RELAY_LIMITS m_limits;
    TickSourceFactory m_ticks;
    CListenThread* m_listen = nullptr;
    std::vector<CConference*> m_conferences;
    RelayBudget m_budget;
    bool m_closing = false;
    CRITICAL_SECTION m_lock;
};
