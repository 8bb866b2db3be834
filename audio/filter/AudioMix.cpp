#include "AudioMix.h"

void AudioMix16(int16_t* dst, const int16_t* src, int count)
{
    if (!dst || !src)
        return;
    for (int i = 0; i < count; ++i) {
        int sum = dst[i] + src[i];
        if (sum > 32767)
            sum = 32767;
        else if (sum < -32767)
            sum = -32767;
        dst[i] = static_cast<int16_t>(sum);
    }
}

void AudioMix8(uint8_t* dst, const uint8_t* src, int count)
{
    if (!dst || !src)
        return;
    for (int i = 0; i < count; ++i) {
        int sum = static_cast<int8_t>(dst[i]) + static_cast<int8_t>(src[i]);
        if (sum > 127)
            sum = 127;
        else if (sum < -127)
            sum = -127;
        dst[i] = static_cast<uint8_t>(static_cast<int8_t>(sum));
    }
}
