#pragma once
#include <cstdint>

namespace SonvexFilterCore {

// One frame codec engine made for one bit rate: the seam between the codec
// wrapper and the engine behind it.
class FrameCodecEngine
{
public:
    virtual ~FrameCodecEngine() = default;
    // Encodes samples of PCM into at most maxBytes bytes of a packet (the
    // frame's 16-bit words, little-endian); returns the bytes produced, 0 on
    // failure.
    virtual int Encode(const int16_t* pcm, int samples, uint8_t* out, int maxBytes) = 0;
    // Decodes a frame of byteCount packet bytes into at most maxSamples
    // samples; returns the samples produced, 0 on failure.
    virtual int Decode(const uint8_t* frame, int byteCount, int16_t* pcm, int maxSamples) = 0;
};

// Makes engines; null when the bit rate is not supported.
class FrameCodecFactory
{
public:
    virtual ~FrameCodecFactory() = default;
    virtual FrameCodecEngine* Create(int bitRate, bool encode) const = 0;

    // The library's G.722.1 engines (24000 and 32000 bit/s).
    static const FrameCodecFactory& G7221();
};

} // namespace SonvexFilterCore
