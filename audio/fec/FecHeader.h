#pragma once
#include <cstdint>

// The 4-byte header in front of every FEC data and parity packet: one
// little-endian u32 with the group number (bits 0-15), the index in the group
// (16-21), n - k - 1 (22-26) and k - 1 (27-31).
class FecHeader
{
public:
    enum { SIZE = 4 };

    FecHeader() = default;
    FecHeader(uint16_t group, int index, int n, int k);

    static FecHeader Read(const uint8_t* bytes);
    void Write(uint8_t* bytes) const;

    // The receiver's check: 0 < n - k <= 32, 0 < k <= 32 and an index that
    // fits the bit length of n.
    bool IsValid() const;

    uint16_t group = 0;
    int index = 0;
    int n = 0;
    int k = 0;
};
