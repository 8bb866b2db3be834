#include "CScreenCodec.h"

#include "ScreenRelayWire.h"
#include "WireReader.h"

uint8_t CScreenCodec::Reduce8(uint32_t pixel)
{
    const uint32_t r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    return static_cast<uint8_t>((r & 0xE0) | ((g >> 3) & 0x1C) | (b >> 6));
}

uint32_t CScreenCodec::Expand8(uint8_t v)
{
    const uint32_t r = (v >> 5) & 7, g = (v >> 2) & 7, b = v & 3;
    return ((r * 255 / 7) << 16) | ((g * 255 / 7) << 8) | (b * 255 / 3);
}

std::vector<uint8_t> CScreenCodec::Encode(const uint32_t* pixels, uint16_t width, uint16_t height,
                                          uint8_t format)
{
    std::vector<uint8_t> out;
    const size_t count = static_cast<size_t>(width) * height;
    const bool small = format == SCREEN_FORMAT_RUNS8;
    size_t i = 0;
    while (i < count) {
        const uint32_t p = small ? Expand8(Reduce8(pixels[i])) : (pixels[i] & 0xFFFFFF);
        size_t run = 1;
        while (run < 255 && i + run < count &&
               (small ? Reduce8(pixels[i + run]) == Reduce8(pixels[i])
                      : (pixels[i + run] & 0xFFFFFF) == p))
            ++run;
        out.push_back(static_cast<uint8_t>(run));
        if (small) {
            out.push_back(Reduce8(pixels[i]));
        } else {
            out.push_back(static_cast<uint8_t>(p));
            out.push_back(static_cast<uint8_t>(p >> 8));
            out.push_back(static_cast<uint8_t>(p >> 16));
        }
        i += run;
    }
    return out;
}

bool CScreenCodec::Decode(const uint8_t* data, size_t length, uint16_t width, uint16_t height,
                          uint8_t format, std::vector<uint32_t>& out)
{
    if (width == 0 || height == 0 || width > SCREEN_MAX_SIDE || height > SCREEN_MAX_SIDE ||
        (format != SCREEN_FORMAT_RUNS24 && format != SCREEN_FORMAT_RUNS8))
        return false;
    const size_t count = static_cast<size_t>(width) * height;
    std::vector<uint32_t> pixels;
    pixels.reserve(count);
    WireReader r(data, length);
    while (r.Remaining()) {
        uint8_t run = 0;
        uint32_t p = 0;
        if (!r.U8(run) || run == 0)
            return false;
        if (format == SCREEN_FORMAT_RUNS8) {
            uint8_t v = 0;
            if (!r.U8(v))
                return false;
            p = Expand8(v);
        } else {
            uint8_t bgr[3];
            if (!r.Bytes(bgr, 3))
                return false;
            p = bgr[0] | (bgr[1] << 8) | (static_cast<uint32_t>(bgr[2]) << 16);
        }
        if (run > count - pixels.size())
            return false;
        pixels.insert(pixels.end(), run, p);
    }
    if (pixels.size() != count)
        return false;
    out.swap(pixels);
    return true;
}
