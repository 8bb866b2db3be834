#include "CFakeNetwork.h"

#include <cstring>

#include "CScopedLock.h"

class CFakeSocket : public IDatagramSocket
{
public:
    explicit CFakeSocket(CFakeNetwork& net) : m_net(net) {}
    ~CFakeSocket() override { Close(); }

    bool Create() override
    {
        Close();
        if (m_net.failCreate)
            return false;
        m_created = true;
        return true;
    }
    bool SetReceiveBuffer(int) override { return !m_net.refuseReceiveBuffer; }
    bool Bind(uint32_t, uint16_t port) override
    {
        CScopedLock lock(&m_net.m_lock);
        if (!m_created || m_port || m_net.takenPorts.count(port) || m_net.m_bound.count(port))
            return false;
        m_net.m_bound.insert(port);
        m_port = port;
        return true;
    }
    void Close() override
    {
        CScopedLock lock(&m_net.m_lock);
        if (m_port) {
            m_net.m_bound.erase(m_port);
            m_net.m_queues.erase(m_port);
        }
        m_port = 0;
        m_created = false;
    }
    int SendTo(const void* data, int length, uint32_t, uint16_t port) override
    {
        if (!m_created)
            return -1;
        CFakeNetwork::Datagram d;
        d.bytes.assign(static_cast<const uint8_t*>(data),
                       static_cast<const uint8_t*>(data) + length);
        d.address = CFakeNetwork::LOOPBACK;
        d.port = m_port;
        if (m_net.filter) {
            for (const CFakeNetwork::Datagram& out : m_net.filter(d, port))
                m_net.Deliver(port, out);
        } else {
            m_net.Deliver(port, d);
        }
        return length;
    }
    int Pending() override
    {
        CScopedLock lock(&m_net.m_lock);
        auto it = m_net.m_queues.find(m_port);
        if (!m_port || it == m_net.m_queues.end())
            return 0;
        // As Wine counts it: the size of the first datagram only.
        return it->second.empty() ? 0 : static_cast<int>(it->second.front().bytes.size());
    }
    int ReceiveFrom(void* buffer, int capacity, uint32_t& address, uint16_t& port) override
    {
        CScopedLock lock(&m_net.m_lock);
        auto it = m_net.m_queues.find(m_port);
        if (!m_port)
            return -1;
        if (it == m_net.m_queues.end() || it->second.empty())
            return WOULD_BLOCK;
        CFakeNetwork::Datagram d = std::move(it->second.front());
        it->second.pop_front();
        if (static_cast<int>(d.bytes.size()) > capacity)
            return TOO_LARGE;
        memcpy(buffer, d.bytes.data(), d.bytes.size());
        address = d.address;
        port = d.port;
        return static_cast<int>(d.bytes.size());
    }

private:
    CFakeNetwork& m_net;
    bool m_created = false;
    uint16_t m_port = 0;
};

std::unique_ptr<IDatagramSocket> CFakeNetwork::MakeSocket()
{
    return std::unique_ptr<IDatagramSocket>(new CFakeSocket(*this));
}

void CFakeNetwork::Deliver(uint16_t to, const Datagram& datagram)
{
    CScopedLock lock(&m_lock);
    m_queues[to].push_back(datagram);
}

void CFakeNetwork::Inject(uint16_t to, const void* data, size_t length, uint16_t fromPort)
{
    Datagram d;
    d.bytes.assign(static_cast<const uint8_t*>(data), static_cast<const uint8_t*>(data) + length);
    d.address = LOOPBACK;
    d.port = fromPort;
    Deliver(to, d);
}

std::vector<CFakeNetwork::Datagram> CFakeNetwork::Unbound(uint16_t port)
{
    CScopedLock lock(&m_lock);
    auto it = m_queues.find(port);
    if (it == m_queues.end())
        return {};
    return std::vector<Datagram>(it->second.begin(), it->second.end());
}

size_t CFakeNetwork::Waiting(uint16_t port)
{
    CScopedLock lock(&m_lock);
    auto it = m_queues.find(port);
    return it == m_queues.end() ? 0 : it->second.size();
}
