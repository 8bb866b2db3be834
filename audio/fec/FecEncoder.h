#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "FecParityQueue.h"
#include "ReedSolomon.h"

// The sender's packet FEC: numbers data packets into groups of k and, once a
// group is complete, computes its n - k parity packets column by column; the
// parity then leaves with the data packets of the following groups.
class FecEncoder
{
public:
    enum { MAX_PAYLOAD = 512 };

    struct Output
    {
        const uint8_t* data = nullptr; // header and payload of the data packet
        int dataLength = 0;
        const uint8_t* parity[32] = {}; // parity packets to send with it
        int parityLength = 0;
        int parityCount = 0;
    };

    FecEncoder(int n, int k, int payloadCapacity);
    virtual ~FecEncoder() = default;

    bool IsConfigured() const { return m_configured; }

    // Takes one data packet: FecHeader::SIZE header bytes (overwritten) and
    // payloadLength payload bytes.
    bool Accept(const uint8_t* packet, int payloadLength, Output* out);

    uint32_t GetGroupCounter() const { return m_groupCounter; }

private:
    bool EncodeGroup();

    int m_n, m_k, m_r;
    int m_capacity;
    bool m_configured = false;
    std::unique_ptr<ReedSolomon> m_rs;
    std::vector<std::vector<uint8_t>> m_slots;
    uint32_t m_groupCounter = 0;
    int m_nextIndex = 0;
    int m_payloadLength = -1; // fixed by the first packet
    bool m_groupDone = false;
    std::unique_ptr<FecParityQueue> m_parity;
};
