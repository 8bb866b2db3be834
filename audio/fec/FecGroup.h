#pragma once
#include <cstdint>
#include <vector>

#include "FecHeader.h"
#include "ReedSolomon.h"

// One group of n packets at the receiver while it is being collected and,
// once k of them are in, rebuilt.
class FecGroup
{
public:
    FecGroup(uint16_t group, int n, int k);
    virtual ~FecGroup() = default;

    // Stores a packet (header and payloadLength bytes). False when it does not
    // belong here, its slot is taken, its length differs from the group's or
    // the group is already complete.
    bool Add(const FecHeader& header, const uint8_t* packet, int payloadLength);

    // With k or more packets in: completes the group when all data packets
    // are present or every column decodes. False while it stays incomplete.
    bool TryComplete(const ReedSolomon& rs);

    uint16_t GetNumber() const { return m_group; }
    bool IsComplete() const { return m_complete; }
    bool Has(int index) const { return (m_mask >> index) & 1u; }
    int GetReceived() const { return m_received; }
    int GetHighest() const { return m_highest; }
    int GetPayloadLength() const { return m_length; }
    const uint8_t* GetPacket(int index) const { return m_slots[static_cast<size_t>(index)].data(); }

    int nextIndex = 0; // next data index to hand on

private:
    uint16_t m_group;
    int m_n, m_k, m_r;
    uint64_t m_mask = 0;
    int m_received = 0;
    int m_length = 0;
    int m_highest = 0;
    bool m_complete = false;
    std::vector<std::vector<uint8_t>> m_slots;
};
