#pragma once
#include <cstdint>

namespace RavoEngine {

// What the iLBC adapter needs of an iLBC engine (the reference codec of
// RFC 3951): an encoder or decoder set up for 20 or 30 ms frames (a decoder
// with or without its enhancer), encode of one block of floating-point
// samples, decode of one frame (mode 1) or concealment of a lost one
// (mode 0).
class IlbcEngine
{
public:
    virtual ~IlbcEngine() = default;
    // Writes the frame's bytes (38 or 50); returns them.
    virtual int Encode(const float* block, uint8_t* bytes) = 0;
    // Writes the block's samples (160 or 240); returns them.
    virtual int Decode(const uint8_t* bytes, float* block, int mode) = 0;
};

// Makes engines. This build carries no iLBC engine: the system factory makes
// none, so every iLBC open fails cleanly.
class IlbcEngineFactory
{
public:
    virtual ~IlbcEngineFactory() = default;
    virtual IlbcEngine* MakeEncoder(int frameMs) = 0;
    virtual IlbcEngine* MakeDecoder(int frameMs, int enhancer) = 0;

    static IlbcEngineFactory& System();
};

} // namespace RavoEngine
