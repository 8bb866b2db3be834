#pragma once
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "FecGroup.h"
#include "ReedSolomon.h"

// The receiver's packet FEC: collects packets into their groups, rebuilds
// lost data packets from any k of a group's n packets and hands the data
// packets on, in order, into an output queue.
class FecDecoder
{
public:
    enum { DEFAULT_LIMIT = 80, MAX_OLD_RUN = 8, MAX_OPEN_GROUPS = 8 };

    explicit FecDecoder(int outputLimit = DEFAULT_LIMIT);
    virtual ~FecDecoder() = default;

    // A packet: FecHeader::SIZE header bytes and payloadLength payload bytes.
    bool Insert(const uint8_t* packet, int payloadLength);

    // Copies the oldest handed-on data packet (header and payload) into the
    // buffer and returns how many packets the queue held before; 0 when it
    // is empty or the packet does not fit.
    int Pull(uint8_t* buffer, int capacity, int* length);

    // Hands on every open group as far as it goes and drops all groups.
    void Flush();

    size_t GetQueuedCount() const { return m_output.size(); }
    size_t GetOpenGroupCount() const { return m_groups.size(); }
    int GetN() const { return m_n; }
    int GetK() const { return m_k; }

private:
    int HandOn(bool forceAll);
    void Output(const uint8_t* packet, int length);

    int m_n = 0;
    int m_k = 0;
    std::unique_ptr<ReedSolomon> m_rs;
    std::deque<std::unique_ptr<FecGroup>> m_groups; // ascending, with wrap-around
    uint16_t m_lastHandedOn = 0;
    int m_oldRun = 0;
    bool m_firstUse = true;
    size_t m_limit;
    std::deque<std::vector<uint8_t>> m_output;
};
