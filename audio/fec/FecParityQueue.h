#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

// Parity packets of finished groups waiting to ride along with later data
// packets: at most one packet of each pending group and at most
// c = floor((n - 1) / k) packets per data packet.
class FecParityQueue
{
public:
    FecParityQueue(int n, int k, int payloadCapacity);
    virtual ~FecParityQueue() = default;

    // A new pending group with r zeroed parity packets (header space included);
    // the caller fills their payloads through the returned pointers.
    std::vector<uint8_t*> AddGroup(uint16_t group, int payloadLength);

    // Copies the next parity packets into the output slots and stamps their
    // headers. Returns how many were handed out.
    int HandOut();

    const uint8_t* GetSlot(int i) const { return m_slots[static_cast<size_t>(i)].data(); }
    int GetFilled() const { return m_filled; }
    int GetPacketLength() const { return m_packetLength; }
    int GetLimit() const { return m_limit; }
    size_t GetPendingCount() const { return m_pending.size(); }

private:
    struct Pending
    {
        uint16_t group;
        std::vector<std::vector<uint8_t>> packets;
        int handedOut;
    };

    int m_n, m_k, m_r, m_capacity;
    std::deque<std::unique_ptr<Pending>> m_pending;
    std::vector<std::vector<uint8_t>> m_slots;
    int m_filled = 0;
    int m_limit;
    int m_packetLength = 0;
};
