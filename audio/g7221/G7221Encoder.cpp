#include "G7221Encoder.h"

#include "G7221EncoderEngine.h"

G7221Encoder::G7221Encoder(int bitRate) : m_bitRate(bitRate), m_engine(nullptr)
{
    if (bitRate == 24000 || bitRate == 32000)
        m_engine = G7221EncoderEngine::Create(bitRate);
}

G7221Encoder::~G7221Encoder() { delete m_engine; }

bool G7221Encoder::IsValid() const { return m_engine != nullptr; }

int G7221Encoder::FrameWords() const { return m_engine ? m_engine->FrameWords() : 0; }

int G7221Encoder::Encode(const int16_t* pcm, int sampleCount, uint16_t* words, int maxWords)
{
    if (!m_engine || !pcm || !words || sampleCount < kFrameSamples ||
        maxWords < m_engine->FrameWords())
        return 0;
    m_engine->Encode(pcm, words);
    return m_engine->FrameWords();
}

int G7221Encoder::EncodeBytes(const int16_t* pcm, int sampleCount, uint8_t* out, int maxBytes)
{
    if (!m_engine || !out || maxBytes < FrameBytes())
        return 0;
    uint16_t words[48];
    int count = Encode(pcm, sampleCount, words, 48);
    for (int i = 0; i < count; ++i) {
        out[2 * i] = (uint8_t)(words[i] & 0xFF);
        out[2 * i + 1] = (uint8_t)(words[i] >> 8);
    }
    return count * 2;
}

void G7221Encoder::Reset()
{
    if (m_engine)
        m_engine->Reset();
}
