#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "AudioCodec.h"
#include "FakeFrameCodec.h"

using namespace SonvexFilterCore;

namespace {

EncodeFormatRow Row(uint8_t id, WORD tag, DWORD rate, WORD bits, uint32_t frameBytes)
{
    EncodeFormatRow r;
    memset(&r, 0, sizeof(r));
    r.id = id;
    r.format.wFormatTag = tag;
    r.format.nChannels = 1;
    r.format.nSamplesPerSec = rate;
    r.format.wBitsPerSample = bits;
    r.format.nBlockAlign = static_cast<WORD>(bits / 8);
    r.format.nAvgBytesPerSec = rate * bits / 8;
    r.format.cbSize = 0;
    r.frameBytes = frameBytes;
    r.blockBytes = 640;
    r.frameMs = 20;
    return r;
}

} // namespace

TEST(Codec, OpenFillsThePcmFormatAndRefusesUnknownRows)
{
    FakeFrameCodecFactory fake;
    AudioCodec codec(EncodeFormatTable, ENCODE_FORMAT_COUNT, &fake);
    uint8_t guard[24];
    memset(guard, 0xCC, sizeof(guard));
    ASSERT_EQ(1, codec.Open(0, 1, reinterpret_cast<WAVEFORMATEX*>(guard)));
    const WAVEFORMATEX* f = reinterpret_cast<WAVEFORMATEX*>(guard);
    EXPECT_EQ(WAVE_FORMAT_PCM, f->wFormatTag);
    EXPECT_EQ(16000u, f->nSamplesPerSec);
    EXPECT_EQ(32000u, f->nAvgBytesPerSec);
    EXPECT_EQ(2, f->nBlockAlign);
    for (int i = 18; i < 24; ++i)
        EXPECT_EQ(0xCC, guard[i]) << "written past the 18-byte record";
    WAVEFORMATEX pcm;
    EXPECT_EQ(0, codec.OpenById(5, 1, &pcm));
    EXPECT_EQ(0, codec.Open(2, 1, &pcm));
    EXPECT_FALSE(codec.IsOpen());
}

TEST(Codec, FrameRowsCodeWholeBlocksOnly)
{
    FakeFrameCodecFactory fake;
    struct Case
    {
        uint8_t id;
        int frameBytes;
    } cases[] = {{6, 60}, {7, 80}};
    for (const Case& c : cases) {
        AudioCodec enc(EncodeFormatTable, ENCODE_FORMAT_COUNT, &fake);
        AudioCodec dec(EncodeFormatTable, ENCODE_FORMAT_COUNT, &fake);
        WAVEFORMATEX pcm;
        ASSERT_EQ(1, enc.OpenById(c.id, 1, &pcm));
        ASSERT_EQ(1, dec.OpenById(c.id, 0, &pcm));
        std::vector<uint8_t> block = ConstantBlock(1234);
        block.resize(700, 0);
        uint8_t frame[400];
        EXPECT_EQ(0, enc.Encode(block.data(), 639, frame, sizeof(frame)));
        EXPECT_EQ(0, enc.Encode(block.data(), 700, frame, static_cast<uint32_t>(c.frameBytes - 1)));
        ASSERT_EQ(c.frameBytes, enc.Encode(block.data(), 700, frame, sizeof(frame)));
        EXPECT_EQ(0xD2, frame[0]); // 1234 as a little-endian word
        EXPECT_EQ(0x04, frame[1]);
        uint8_t out[640];
        EXPECT_EQ(0, dec.Decode(frame, static_cast<uint32_t>(c.frameBytes - 1), out, sizeof(out)));
        EXPECT_EQ(0, dec.Decode(frame, static_cast<uint32_t>(c.frameBytes), out, 639));
        ASSERT_EQ(640, dec.Decode(frame, static_cast<uint32_t>(c.frameBytes), out, sizeof(out)));
        EXPECT_EQ(0, memcmp(out, ConstantBlock(1234).data(), 640));
    }
}

TEST(Codec, PassThroughAndCompressionManagerRows)
{
    EncodeFormatRow table[2] = {Row(0, WAVE_FORMAT_PCM, 16000, 16, 640),
                                Row(2, WAVE_FORMAT_PCM, 16000, 8, 320)};
    std::vector<uint8_t> block = ConstantBlock(-700);
    uint8_t coded[640];
    uint8_t out[640];
    WAVEFORMATEX pcm;

    AudioCodec pass(table, 2);
    ASSERT_EQ(1, pass.Open(0, 1, &pcm));
    EXPECT_EQ(640, pass.Encode(block.data(), 640, coded, sizeof(coded)));
    EXPECT_EQ(0, pass.Encode(block.data(), 640, coded, 100));
    EXPECT_EQ(0, memcmp(coded, block.data(), 640));

    // A stream from 16-bit to 8-bit PCM and back through the compression manager.
    AudioCodec enc(table, 2), dec(table, 2);
    ASSERT_EQ(1, enc.Open(1, 1, &pcm));
    ASSERT_EQ(1, dec.Open(1, 0, &pcm));
    int bytes = enc.Encode(block.data(), 640, coded, sizeof(coded));
    EXPECT_EQ(320, bytes);
    EXPECT_EQ(640, dec.Decode(coded, 320, out, sizeof(out)));
    const int16_t* s = reinterpret_cast<const int16_t*>(out);
    EXPECT_NEAR(-700, s[200], 256); // 8-bit resolution
    enc.Close();
    EXPECT_EQ(0, enc.Encode(block.data(), 640, coded, sizeof(coded)));
}

TEST(Codec, BuiltInWidebandRows)
{
    struct Case
    {
        uint8_t id;
        int frameBytes;
    } cases[] = {{6, 60}, {7, 80}};
    for (const Case& c : cases) {
        AudioCodec enc, dec;
        WAVEFORMATEX pcm;
        ASSERT_EQ(1, enc.OpenById(c.id, 1, &pcm));
        ASSERT_EQ(1, dec.OpenById(c.id, 0, &pcm));
        std::vector<uint8_t> in(700);
        for (int i = 0; i < 350; ++i) {
            int16_t s = static_cast<int16_t>(8000 * std::sin(i * 0.2));
            memcpy(&in[static_cast<size_t>(2 * i)], &s, 2);
        }
        uint8_t frame[100];
        EXPECT_EQ(0, enc.Encode(in.data(), 639, frame, sizeof(frame)));
        ASSERT_EQ(c.frameBytes, enc.Encode(in.data(), 700, frame, sizeof(frame)));
        int16_t out[320];
        EXPECT_EQ(0, dec.Decode(frame, static_cast<uint32_t>(c.frameBytes - 1),
                                reinterpret_cast<uint8_t*>(out), 640));
        ASSERT_EQ(640, dec.Decode(frame, static_cast<uint32_t>(c.frameBytes),
                                  reinterpret_cast<uint8_t*>(out), 640));
        for (int16_t s : out)
            ASSERT_EQ(0, s & 3);
    }
}
