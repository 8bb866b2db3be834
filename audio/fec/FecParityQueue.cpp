#include "FecParityQueue.h"

#include <cstring>

#include "FecHeader.h"

FecParityQueue::FecParityQueue(int n, int k, int payloadCapacity)
    : m_n(n), m_k(k), m_r(n - k), m_capacity(payloadCapacity), m_limit(k > 0 ? (n - 1) / k : 0)
{
    m_slots.resize(static_cast<size_t>(m_limit > 0 ? m_limit : 0),
                   std::vector<uint8_t>(static_cast<size_t>(FecHeader::SIZE + payloadCapacity)));
}

std::vector<uint8_t*> FecParityQueue::AddGroup(uint16_t group, int payloadLength)
{
    std::unique_ptr<Pending> p(new Pending);
    p->group = group;
    p->handedOut = 0;
    p->packets.assign(static_cast<size_t>(m_r),
                      std::vector<uint8_t>(static_cast<size_t>(FecHeader::SIZE + payloadLength)));
    std::vector<uint8_t*> out;
    for (auto& packet : p->packets)
        out.push_back(packet.data());
    m_pending.push_back(std::move(p));
    return out;
}

int FecParityQueue::HandOut()
{
    m_filled = 0;
    while (!m_pending.empty() && m_pending.front()->handedOut >= m_r)
        m_pending.pop_front();
    if (static_cast<int>(m_pending.size()) > m_limit)
        return 0;
    for (auto& p : m_pending) {
        if (m_filled >= m_limit)
            break;
        if (p->handedOut >= m_r)
            continue;
        int position = p->handedOut++;
        const std::vector<uint8_t>& packet = p->packets[static_cast<size_t>(position)];
        std::vector<uint8_t>& slot = m_slots[static_cast<size_t>(m_filled)];
        memcpy(slot.data(), packet.data(), packet.size());
        FecHeader(p->group, m_k + position, m_n, m_k).Write(slot.data());
        m_packetLength = static_cast<int>(packet.size());
        ++m_filled;
    }
    return m_filled;
}
