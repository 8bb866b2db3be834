#include "FecHeader.h"

FecHeader::FecHeader(uint16_t group_, int index_, int n_, int k_)
    : group(group_), index(index_), n(n_), k(k_)
{}

FecHeader FecHeader::Read(const uint8_t* bytes)
{
    uint32_t v = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                 (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    FecHeader h;
    h.group = static_cast<uint16_t>(v & 0xFFFF);
    h.index = static_cast<int>((v >> 16) & 0x3F);
    int rMinus1 = static_cast<int>((v >> 22) & 0x1F);
    int kMinus1 = static_cast<int>((v >> 27) & 0x1F);
    h.k = kMinus1 + 1;
    h.n = rMinus1 + kMinus1 + 2;
    return h;
}

void FecHeader::Write(uint8_t* bytes) const
{
    uint32_t v = group | (static_cast<uint32_t>(index & 0x3F) << 16) |
                 (static_cast<uint32_t>((n - k - 1) & 0x1F) << 22) |
                 (static_cast<uint32_t>((k - 1) & 0x1F) << 27);
    bytes[0] = static_cast<uint8_t>(v);
    bytes[1] = static_cast<uint8_t>(v >> 8);
    bytes[2] = static_cast<uint8_t>(v >> 16);
    bytes[3] = static_cast<uint8_t>(v >> 24);
}

bool FecHeader::IsValid() const
{
    int r = n - k;
    if (r <= 0 || r > 32 || k <= 0 || k > 32)
        return false;
    int bits = 0;
    for (int v = n; v; v >>= 1)
        ++bits;
    return index <= (1 << bits) - 1;
}
