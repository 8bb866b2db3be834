#pragma once
#include <cstdint>
#include <memory>

#include "IlbcEngine.h"

namespace RavoEngine {

// The engine's iLBC coder: 20 ms frames of 160 samples in 38 bytes, or 30 ms
// frames of 240 samples in 50 bytes, over an iLBC engine from a factory.
class IlbcAdapter
{
public:
    explicit IlbcAdapter(IlbcEngineFactory& factory = IlbcEngineFactory::System());
    ~IlbcAdapter();

    // Frame time 20 or 30, else false; false also when no engine can be made.
    bool CreateEncoder(int frameMs);
    bool CreateDecoder(int frameMs, int enhancer);
    void Free();
    bool IsOpen() const { return m_engine != nullptr; }

    static int FrameSamples(int frameMs) { return frameMs == 20 ? 160 : frameMs == 30 ? 240 : 0; }
    static int FrameBytes(int frameMs) { return frameMs == 20 ? 38 : frameMs == 30 ? 50 : 0; }

    // Only a whole block (160 or 240 samples); returns the coded bytes or 0.
    int Encode(const int16_t* samples, int count, uint8_t* out);
    // Only a whole frame (38 or 50 bytes); mode 1 decodes, mode 0 conceals a
    // lost frame (bytes may then be null). Returns the samples or 0.
    int Decode(const uint8_t* bytes, int length, int16_t* out, int mode);

private:
    IlbcEngineFactory& m_factory;
    std::unique_ptr<IlbcEngine> m_engine;
    bool m_encoder = false;
    int m_frameMs = 0;
};

} // namespace RavoEngine
