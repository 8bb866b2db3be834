#pragma once
#include <windows.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "IDatagramSocket.h"

// An in-memory network of datagram sockets for tests: ports are bound,
// datagrams queue at the bound port and every sender appears as 127.0.0.1.
// A filter may drop, repeat or hold back datagrams on their way.
class CFakeNetwork
{
public:
    struct Datagram
    {
        std::vector<uint8_t> bytes;
        uint32_t address;
        uint16_t port;
    };
    // Returns the datagrams to deliver in place of the one given.
    using Filter = std::function<std::vector<Datagram>(const Datagram& datagram, uint16_t to)>;

    enum : uint32_t { LOOPBACK = 0x7F000001 };

    CFakeNetwork() { InitializeCriticalSection(&m_lock); }
    ~CFakeNetwork() { DeleteCriticalSection(&m_lock); }

    std::unique_ptr<IDatagramSocket> MakeSocket();

    // Settings for sockets made afterwards.
    std::set<uint16_t> takenPorts;
    bool failCreate = false;
    bool refuseReceiveBuffer = false;
    Filter filter;

    void Deliver(uint16_t to, const Datagram& datagram);
    // Puts raw bytes at a bound port as if a peer at fromPort had sent them.
    void Inject(uint16_t to, const void* data, size_t length, uint16_t fromPort = 40000);
    // A copy of what waits at a port, left in place: tests read what was
    // sent to a port no socket binds.
    std::vector<Datagram> Unbound(uint16_t port);
    size_t Waiting(uint16_t port);

private:
    friend class CFakeSocket;
    CRITICAL_SECTION m_lock;
    std::map<uint16_t, std::deque<Datagram>> m_queues;
    std::set<uint16_t> m_bound;
};
