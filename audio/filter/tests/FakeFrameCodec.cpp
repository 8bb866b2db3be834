#include "FakeFrameCodec.h"

using namespace SonvexFilterCore;

namespace {

class FakeEngine : public FrameCodecEngine
{
public:
    explicit FakeEngine(int words) : m_words(words) {}
    int Encode(const int16_t* pcm, int samples, uint8_t* out, int maxBytes) override
    {
        if (samples < 320 || maxBytes < m_words * 2)
            return 0;
        for (int i = 0; i < m_words; ++i) {
            const uint16_t w = static_cast<uint16_t>(i == 0 ? pcm[0] : 0x5A5A);
            out[2 * i] = static_cast<uint8_t>(w);
            out[2 * i + 1] = static_cast<uint8_t>(w >> 8);
        }
        return m_words * 2;
    }
    int Decode(const uint8_t* frame, int byteCount, int16_t* pcm, int maxSamples) override
    {
        if (byteCount < m_words * 2 || maxSamples < 320)
            return 0;
        for (int i = 0; i < 320; ++i)
            pcm[i] = static_cast<int16_t>(frame[0] | frame[1] << 8);
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
