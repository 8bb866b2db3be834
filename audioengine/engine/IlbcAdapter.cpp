#include "IlbcAdapter.h"

#include <cmath>

namespace RavoEngine {

IlbcAdapter::IlbcAdapter(IlbcEngineFactory& factory) : m_factory(factory) {}

IlbcAdapter::~IlbcAdapter() = default;

bool IlbcAdapter::CreateEncoder(int frameMs)
{
    Free();
    if (frameMs != 20 && frameMs != 30)
        return false;
    m_engine.reset(m_factory.MakeEncoder(frameMs));
    if (!m_engine)
        return false;
    m_encoder = true;
    m_frameMs = frameMs;
    return true;
}

bool IlbcAdapter::CreateDecoder(int frameMs, int enhancer)
{
    Free();
    if ((frameMs != 20 && frameMs != 30) || (enhancer != 0 && enhancer != 1))
        return false;
    m_engine.reset(m_factory.MakeDecoder(frameMs, enhancer));
    if (!m_engine)
        return false;
    m_encoder = false;
    m_frameMs = frameMs;
    return true;
}

void IlbcAdapter::Free()
{
    m_engine.reset();
    m_frameMs = 0;
}

int IlbcAdapter::Encode(const int16_t* samples, int count, uint8_t* out)
{
    if (!m_engine || !m_encoder || !samples || !out || count != FrameSamples(m_frameMs))
        return 0;
    float block[240];
    for (int i = 0; i < count; ++i)
        block[i] = samples[i];
    int bytes = m_engine->Encode(block, out);
    return bytes == FrameBytes(m_frameMs) ? bytes : 0;
}

int IlbcAdapter::Decode(const uint8_t* bytes, int length, int16_t* out, int mode)
{
    if (!m_engine || m_encoder || !out || (mode != 0 && mode != 1))
        return 0;
    if (mode == 1 && (!bytes || length != FrameBytes(m_frameMs)))
        return 0;
    float block[240];
    int samples = m_engine->Decode(mode == 1 ? bytes : nullptr, block, mode);
    if (samples != FrameSamples(m_frameMs))
        return 0;
    for (int i = 0; i < samples; ++i) {
        float v = block[i];
        if (v > 32767.0f)
            v = 32767.0f;
        else if (v < -32768.0f)
            v = -32768.0f;
        out[i] = static_cast<int16_t>(std::lrint(v));
    }
    return samples;
}

} // namespace RavoEngine
