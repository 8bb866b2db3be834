#include <gtest/gtest.h>

#include <vector>

#include "AudioCodec.h"
#include "IlbcAdapter.h"
#include "RavoTestUtil.h"

using namespace RavoEngine;

TEST(RavoCodec, WidebandRowsEncodeAndDecode)
{
    const struct
    {
        int row;
        uint32_t frame;
    } rows[] = {{3, 60}, {4, 80}};
    const std::vector<int16_t> tone = Tone(350, 440.0, 8000.0, 16000);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        AudioCodec encoder;
        WAVEFORMATEX pcm;
        ASSERT_TRUE(encoder.Open(r.row, true, &pcm));
        EXPECT_EQ(16000u, pcm.nSamplesPerSec);
        uint8_t frame[128];
        const uint8_t* in = reinterpret_cast<const uint8_t*>(tone.data());
        EXPECT_EQ(0u, encoder.Encode(in, 639, frame, sizeof frame));
        ASSERT_EQ(r.frame, encoder.Encode(in, 700, frame, sizeof frame));

        AudioCodec decoder;
        ASSERT_TRUE(decoder.Open(r.row, false, &pcm));
        std::vector<int16_t> out(320);
        uint8_t* o = reinterpret_cast<uint8_t*>(out.data());
        EXPECT_EQ(0u, decoder.Decode(frame, r.frame - 1, o, 640));
        ASSERT_EQ(640u, decoder.Decode(frame, r.frame, o, 640));
        for (int16_t s : out)
            EXPECT_EQ(0, s & 3);
        // An encoder does not decode and the other way round.
        EXPECT_EQ(0u, encoder.Decode(frame, r.frame, o, 640));
    }
}

TEST(RavoCodec, OpenFailuresLeaveItClosed)
{
    AudioCodec codec;
    WAVEFORMATEX pcm;
    EXPECT_FALSE(codec.Open(5, true, &pcm));
    EXPECT_FALSE(codec.Open(-1, false, &pcm));
    EXPECT_FALSE(codec.IsOpen());
    uint8_t buffer[640] = {};
    EXPECT_EQ(0u, codec.Encode(buffer, 640, buffer, 640));
    // This build has no iLBC engine: every iLBC open fails cleanly.
    EXPECT_FALSE(codec.OpenIlbc(20, true));
    EXPECT_FALSE(codec.OpenIlbc(30, false));
    EXPECT_FALSE(codec.IsOpen());
    EXPECT_EQ(0u, codec.Decode(buffer, 38, buffer, 640));
}

namespace {
// An engine that writes a fixed pattern, to check the adapter's boundaries.
class FakeIlbc : public IlbcEngine
{
public:
    explicit FakeIlbc(int ms) : m_ms(ms) {}
    int Encode(const float* block, uint8_t* bytes) override
    {
        bytes[0] = static_cast<uint8_t>(block[0]);
        return IlbcAdapter::FrameBytes(m_ms);
    }
    int Decode(const uint8_t* bytes, float* block, int mode) override
    {
        const int n = IlbcAdapter::FrameSamples(m_ms);
        for (int i = 0; i < n; ++i)
            block[i] = mode == 0 ? 0.0f : (i % 2 ? 40000.0f : -40000.0f);
        return n;
    }
    int m_ms;
};
class FakeIlbcFactory : public IlbcEngineFactory
{
public:
    IlbcEngine* MakeEncoder(int ms) override { return new FakeIlbc(ms); }
    IlbcEngine* MakeDecoder(int ms, int enhancer) override
    {
        lastEnhancer = enhancer;
        return new FakeIlbc(ms);
    }
    int lastEnhancer = -1;
};
} // namespace

TEST(RavoIlbc, FrameSizesAndClipping)
{
    FakeIlbcFactory factory;
    IlbcAdapter enc(factory);
    EXPECT_FALSE(enc.CreateEncoder(25));
    ASSERT_TRUE(enc.CreateEncoder(20));
    std::vector<int16_t> block(240, 7);
    uint8_t bytes[64];
    EXPECT_EQ(0, enc.Encode(block.data(), 159, bytes));
    EXPECT_EQ(38, enc.Encode(block.data(), 160, bytes));
    EXPECT_EQ(7, bytes[0]);
    ASSERT_TRUE(enc.CreateEncoder(30));
    EXPECT_EQ(50, enc.Encode(block.data(), 240, bytes));

    IlbcAdapter dec(factory);
    EXPECT_FALSE(dec.CreateDecoder(30, 2));
    ASSERT_TRUE(dec.CreateDecoder(30, 1));
    EXPECT_EQ(1, factory.lastEnhancer);
    std::vector<int16_t> out(240);
    EXPECT_EQ(0, dec.Decode(bytes, 38, out.data(), 1));
    ASSERT_EQ(240, dec.Decode(bytes, 50, out.data(), 1));
    EXPECT_EQ(-32768, out[0]);
    EXPECT_EQ(32767, out[1]);
    // A lost frame is concealed without bytes.
    EXPECT_EQ(240, dec.Decode(nullptr, 0, out.data(), 0));

    // The codec wrapper drives the adapter for 20 ms frames.
    AudioCodec codec(factory);
    ASSERT_TRUE(codec.OpenIlbc(20, true));
    EXPECT_EQ(38u, codec.Encode(reinterpret_cast<const uint8_t*>(block.data()), 320, bytes, 64));
}
