#include "FakeFrameCodec.h"

using namespace SonvexFilterCore;

namespace {

class FakeEngine : public FrameCodecEngine
{
public:
    explicit FakeEngine(int words) : m_words(words) {}
    int Encode(const int16_t* pcm, int samples, int16_t* words, int maxWords) override
    {
        if (samples < 320 || maxWords < m_words)
            return 0;
        for (int i = 0; i < m_words; ++i)
            words[i] = static_cast<int16_t>(i == 0 ? pcm[0] : 0x5A5A);
        return m_words;
    }
    int Decode(const int16_t* words, int wordCount, int16_t* pcm, int maxSamples) override
    {
        if (wordCount < m_words || maxSamples < 320)
            return 0;
        for (int i = 0; i < 320; ++i)
            pcm[i] = words[0];
        return 320;
    }

private:
    int m_words;
};

} // namespace

FrameCodecEngine* FakeFrameCodecFactory::Create(int bitRate, bool) const
{
    if (bitRate == 24000)
        return new FakeEngine(30);
    if (bitRate == 32000)
        return new FakeEngine(40);
    return nullptr;
}

std::vector<uint8_t> ConstantBlock(int16_t value)
{
    std::vector<uint8_t> b(640);
    for (int i = 0; i < 320; ++i) {
        b[static_cast<size_t>(2 * i)] = static_cast<uint8_t>(value);
        b[static_cast<size_t>(2 * i + 1)] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
    }
    return b;
}
