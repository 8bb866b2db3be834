#include <gtest/gtest.h>

#include <vector>

#include "G7221Decoder.h"
#include "G7221Encoder.h"
#include "G7221TestSignals.h"

using namespace G7221TestSignals;

// Coded frames travel to peers and into recordings, so the stream that a
// fixed input codes to is pinned bit for bit, and the samples that stream
// decodes to are pinned within one step of the decoder's output grid.
namespace {
uint32_t Crc32(const std::vector<uint8_t>& data)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (uint8_t b : data) {
        crc ^= b;
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::vector<uint8_t> EncodeAll(int rate, const std::vector<int16_t>& in)
{
    G7221Encoder encoder(rate);
    std::vector<uint8_t> stream;
    uint8_t bytes[80];
    for (size_t f = 0; f + 320 <= in.size(); f += 320) {
        int n = encoder.EncodeBytes(&in[f], 320, bytes, 80);
        stream.insert(stream.end(), bytes, bytes + n);
    }
    return stream;
}

std::vector<int16_t> DecodeAll(int rate, const std::vector<uint8_t>& stream)
{
    G7221Decoder decoder(rate);
    const int frameBytes = decoder.FrameBytes();
    std::vector<int16_t> out(stream.size() / frameBytes * 320);
    for (size_t f = 0; f * frameBytes < stream.size(); ++f)
        decoder.DecodeBytes(&stream[f * frameBytes], frameBytes, false, &out[f * 320], 320);
    return out;
}

// Full-scale noise: every region near the top power, the frames that use
// the most bits.
std::vector<int16_t> LoudNoise(int samples)
{
    std::vector<int16_t> out(samples);
    uint32_t seed = 2024;
    for (int16_t& s : out) {
        seed = seed * 1664525u + 1013904223u;
        s = (int16_t)(seed >> 16);
    }
    return out;
}

std::vector<int16_t> Signal(int which)
{
    switch (which) {
    case 0:
        return Speech(16000);
    case 1:
        return Tones(16000);
    case 2:
        return Speech(16000, 6.0);
    default:
        return LoudNoise(16000);
    }
}
} // namespace

TEST(G7221Stream, CodedStreamOfFixedInputsIsPinned)
{
    struct Case
    {
        int signal;
        int rate;
        uint32_t crc;
    } cases[] = {{0, 24000, 0x6E3D621Au}, {0, 32000, 0x7CBBC00Au}, {1, 24000, 0x9DD37811u},
                 {1, 32000, 0x16247A2Au}, {2, 24000, 0xAACE4C96u}, {2, 32000, 0x3F999117u},
                 {3, 24000, 0x8C235D21u}, {3, 32000, 0x22549359u}};
    for (const Case& c : cases) {
        std::vector<uint8_t> stream = EncodeAll(c.rate, Signal(c.signal));
        ASSERT_EQ(stream.size(), (size_t)50 * c.rate / 400);
        EXPECT_EQ(Crc32(stream), c.crc) << "signal " << c.signal << " rate " << c.rate;
    }
}

TEST(G7221Stream, DecodedSamplesOfAFixedStreamArePinned)
{
    // Frame 30 of the speech signal, its first 24 samples, and the segmental
    // SNR of the whole decoded signal against the input.
    struct Case
    {
        int rate;
        double snr;
        int16_t samples[24];
    } cases[] = {{24000, 15.0792, {-1304, -1124, -828, -428, 4,    328,  556,  592,
                                   480,   532,   640,  660,  640,  560,  388,  72,
                                   -260,  -496,  -672, -760, -676, -492, -368, -272}},
                 {32000, 16.4683, {-1284, -1128, -828, -424, -32,  288,  464,  520,
                                   600,   612,   640,  732,  636,  476,  312,  80,
                                   -168,  -436,  -632, -736, -700, -544, -460, -372}}};
    std::vector<int16_t> speech = Signal(0);
    for (const Case& c : cases) {
        std::vector<int16_t> out = DecodeAll(c.rate, EncodeAll(c.rate, speech));
        double snr = SegmentalSnr(speech, out);
        EXPECT_NEAR(snr, c.snr, 0.02) << c.rate;
        for (int i = 0; i < 24; ++i)
            EXPECT_NEAR(out[30 * 320 + i], c.samples[i], 4) << c.rate << " sample " << i;
    }
}
