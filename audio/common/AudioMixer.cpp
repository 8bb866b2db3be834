#include "AudioMixer.h"

namespace AudioCommon {

void AudioMixer::Mix16(int16_t* dst, const int16_t* src, int count)
{
    if (!dst || !src)
        return;
    for (int i = 0; i < count; ++i) {
        int v = dst[i] + src[i];
        if (v > 32767)
            v = 32767;
        else if (v < -32767)
            v = -32767;
        dst[i] = static_cast<int16_t>(v);
    }
}

void AudioMixer::Mix8(int8_t* dst, const int8_t* src, int count)
{
    if (!dst || !src)
        return;
    for (int i = 0; i < count; ++i) {
        int v = dst[i] + src[i];
        if (v > 127)
            v = 127;
        else if (v < -127)
            v = -127;
        dst[i] = static_cast<int8_t>(v);
    }
}

void AudioMixer::Mix8OffsetBinary(uint8_t* dst, const uint8_t* src, int count)
{
    if (!dst || !src)
        return;
    for (int i = 0; i < count; ++i) {
        int v = (dst[i] - 128) + (src[i] - 128);
        if (v > 127)
            v = 127;
        else if (v < -127)
            v = -127;
        dst[i] = static_cast<uint8_t>(v + 128);
    }
}

} // namespace AudioCommon
