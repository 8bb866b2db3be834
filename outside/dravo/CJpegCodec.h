#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// Compresses and expands 24-bit BGR pictures (rows top down, no padding)
// as baseline JPEG in memory. Bad input gives false, never a crash; a
// picture that fails part-way may leave bgr resized and partly written.
class CJpegCodec
{
public:
    static bool Encode(const uint8_t* bgr, int width, int height, int quality,
                       std::vector<uint8_t>& out);
    static bool Decode(const uint8_t* data, size_t length, std::vector<uint8_t>& bgr, int& width,
                       int& height);
    // True when the bytes start like a JPEG stream.
    static bool LooksLikeJpeg(const uint8_t* data, size_t length);

    enum { MAX_SIDE = 4096 };
};
