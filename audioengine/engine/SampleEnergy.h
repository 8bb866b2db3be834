#pragma once
#include <cstdint>

namespace RavoEngine {

// The energy measure of the level meter and the silence detector: the sum of
// the absolute sample values (16-bit, every channel) or of the low seven
// bits of each byte (8-bit).
class SampleEnergy
{
public:
    static uint64_t Sum(const uint8_t* data, uint32_t bytes, int bits);
    static uint32_t SampleCount(uint32_t bytes, int bits) { return bits == 8 ? bytes : bytes / 2; }
};

} // namespace RavoEngine
