#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Codes a picture (32-bit pixels, 0x00RRGGBB, top row first) into runs of
// equal pixels, in full colour or reduced to 8 bits, and back.
class CScreenCodec
{
public:
    static std::vector<uint8_t> Encode(const uint32_t* pixels, uint16_t width, uint16_t height,
                                       uint8_t format);
    // False when the runs do not fill exactly width x height pixels, or the
    // format or size is not one the relay carries; out is then unchanged.
    static bool Decode(const uint8_t* data, size_t length, uint16_t width, uint16_t height,
                       uint8_t format, std::vector<uint32_t>& out);
    // The colour an 8-bit pixel stands for.
    static uint32_t Expand8(uint8_t value);
    static uint8_t Reduce8(uint32_t pixel);
};
