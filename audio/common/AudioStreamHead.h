#pragma once
#include <cstdint>

// The in/out record of one processing call of either audio processer: the
// input PCM and its length, the bytes taken without producing a packet, the
// output buffer, its room and the packet bytes written. Six 32-bit words.
#pragma pack(push, 1)
struct AUDIO_STREAM_HEAD
{
    const void* input;       // input PCM
    uint32_t inputLength;    // bytes of input
    uint32_t consumed;       // out: bytes taken without producing a packet
    void* output;            // output buffer
    uint32_t outputCapacity; // bytes of room in the output buffer
    uint32_t outputLength;   // out: packet bytes written, 0 when none
};
#pragma pack(pop)
static_assert(sizeof(AUDIO_STREAM_HEAD) == 24, "AUDIO_STREAM_HEAD is six 32-bit words");
