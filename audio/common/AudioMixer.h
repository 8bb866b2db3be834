#pragma once
#include <cstdint>

namespace AudioCommon {

// Sample-wise mixing for both audio processing libraries, with saturation at +-32767 (16-bit) or +-127 (signed
// 8-bit); -32768 and -128 never result.
class AudioMixer
{
public:
    static void Mix16(int16_t* dst, const int16_t* src, int count);
    static void Mix8(int8_t* dst, const int8_t* src, int count);
    // 8-bit PCM as the wave devices carry it: offset-binary around 128,
    // saturating at 1 and 255.
    static void Mix8OffsetBinary(uint8_t* dst, const uint8_t* src, int count);
};

} // namespace AudioCommon
