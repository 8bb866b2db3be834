#include "G7221Decoder.h"

#include "G7221DecoderEngine.h"

G7221Decoder::G7221Decoder(int bitRate) : m_bitRate(bitRate), m_engine(nullptr)
{
    if (bitRate == 24000 || bitRate == 32000)
        m_engine = G7221DecoderEngine::Create(bitRate);
}

G7221Decoder::~G7221Decoder() { delete m_engine; }

bool G7221Decoder::IsValid() const { return m_engine != nullptr; }

int G7221Decoder::FrameWords() const { return m_engine ? m_engine->FrameWords() : 0; }

int G7221Decoder::Decode(const uint16_t* words, int wordCount, bool erased, int16_t* pcm,
                         int maxSamples)
{
    if (!m_engine || !pcm || maxSamples < kFrameSamples)
        return 0;
    if (!erased && (!words || wordCount < m_engine->FrameWords()))
        return 0;
    m_engine->Decode(erased ? nullptr : words, erased, pcm);
    return kFrameSamples;
}

int G7221Decoder::DecodeBytes(const uint8_t* frame, int byteCount, bool erased, int16_t* pcm,
                              int maxSamples)
{
    if (!m_engine)
        return 0;
    uint16_t words[48];
    const int count = m_engine->FrameWords();
    if (!erased) {
        if (!frame || byteCount < count * 2)
            return 0;
        for (int i = 0; i < count; ++i)
            words[i] = (uint16_t)(frame[2 * i] | (frame[2 * i + 1] << 8));
    }
    return Decode(erased ? nullptr : words, count, erased, pcm, maxSamples);
}

void G7221Decoder::Reset()
{
    if (m_engine)
        m_engine->Reset();
}
