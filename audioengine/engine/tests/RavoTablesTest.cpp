#include <gtest/gtest.h>

#include <cstring>

#include "AudioMixer.h"
#include "AudioPacket.h"
#include "RavoTables.h"

using namespace RavoEngine;

TEST(RavoTables, CodecRowsAndFrameTimes)
{
    struct Row
    {
        uint8_t kind;
        uint16_t tag;
        uint32_t rate;
        uint32_t frame;
        uint32_t block;
        int ms;
        const char* name;
    };
    const Row rows[] = {
        {0, 0x0042, 8000, 24, 480, 30, "G.723.1,6.4 kbps"},
        {1, 0x0042, 8000, 20, 480, 30, "G.723.1,5.3 kbps"},
        {4, 0x0006, 8000, 240, 480, 30, "CCITT A-Law,64 kbps"},
        {6, 0x200B, 16000, 60, 640, 20, "G7221,24 kbps"},
        {7, 0x200B, 16000, 80, 640, 20, "G7221,32 kbps"},
    };
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        const EncodeFormatRow& r = EncodeFormatTable[i];
        EXPECT_EQ(rows[i].kind, r.kind);
        EXPECT_EQ(rows[i].tag, r.format.wFormatTag);
        EXPECT_EQ(rows[i].rate, r.format.nSamplesPerSec);
        EXPECT_EQ(rows[i].frame, r.frameBytes);
        EXPECT_EQ(rows[i].block, r.blockBytes);
        EXPECT_EQ(rows[i].ms, RavoTables::FrameTimeMs(r.kind));
        EXPECT_STREQ(rows[i].name, r.name);
        EXPECT_EQ(i, RavoTables::FindRowByKind(r.kind));
    }
    // The G.722.1 rows carry the 4 extension bytes 01 00 01 00 right after
    // the 18-byte format, as the compression manager reads them.
    const uint8_t* row3 = reinterpret_cast<const uint8_t*>(&EncodeFormatTable[3]);
    const uint8_t ext[4] = {1, 0, 1, 0};
    EXPECT_EQ(0, memcmp(row3 + 1 + 18, ext, 4));
    EXPECT_EQ(-1, RavoTables::FindRowByKind(2));
    EXPECT_EQ(-1, RavoTables::FindRowByKind(3));
}

TEST(RavoTables, FecModesByCode)
{
    const struct
    {
        uint8_t byte0;
        int mode;
        int n;
        int k;
    } cases[] = {
        {0x76, 1, 12, 6}, {0x86, 2, 18, 6}, {0x97, 3, 24, 8}, {0xA4, 4, 48, 16},
        {0x06, -1, 0, 0}, {0x26, -1, 0, 0}, {0xB6, -1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.byte0);
        const int mode = RavoTables::FindFecModeByCode(c.byte0);
        EXPECT_EQ(c.mode, mode);
        if (mode > 0) {
            EXPECT_EQ(c.n, FecModeTable[mode].n);
            EXPECT_EQ(c.k, FecModeTable[mode].k);
        }
    }
    EXPECT_STREQ("Not FEC", FecModeTable[0].name);
    EXPECT_STREQ("16+32", FecModeTable[4].name);
}

TEST(RavoTables, PcmInputFormat)
{
    WAVEFORMATEX f;
    ASSERT_TRUE(RavoTables::GetPcmFormat(3, &f));
    EXPECT_EQ(WAVE_FORMAT_PCM, f.wFormatTag);
    EXPECT_EQ(1, f.nChannels);
    EXPECT_EQ(16000u, f.nSamplesPerSec);
    EXPECT_EQ(16, f.wBitsPerSample);
    EXPECT_EQ(32000u, f.nAvgBytesPerSec);
    EXPECT_EQ(2, f.nBlockAlign);
    EXPECT_EQ(0, f.cbSize);
    EXPECT_FALSE(RavoTables::GetPcmFormat(5, &f));
}

TEST(RavoPacket, HeaderLayoutAndNibbles)
{
    const uint8_t packet[] = {0x76, 0x78, 0x56, 0x34, 0x12, 0xAA};
    uint8_t first = 0;
    uint32_t seq = 0;
    ASSERT_TRUE(AudioPacket::ReadHeader(packet, sizeof packet, &first, &seq));
    EXPECT_EQ(0x12345678u, seq);
    EXPECT_EQ(6, AudioPacket::Kind(first));
    EXPECT_TRUE(AudioPacket::IsFec(first));
    EXPECT_FALSE(AudioPacket::IsRedundant(first));
    EXPECT_TRUE(AudioPacket::IsRedundant(0x26));
    EXPECT_EQ(2, AudioPacket::HighNibble(0x26));
    // Five bytes carry no payload and are refused.
    EXPECT_FALSE(AudioPacket::ReadHeader(packet, 5, &first, &seq));
    uint8_t out[5];
    ASSERT_TRUE(AudioPacket::WriteHeader(out, sizeof out, 0x07, 0x01020304));
    const uint8_t expected[5] = {0x07, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(0, memcmp(out, expected, 5));
    EXPECT_FALSE(AudioPacket::WriteHeader(out, 4, 0x07, 1));
}

TEST(RavoMixer, SaturatesSymmetrically)
{
    int16_t a[4] = {30000, -30000, 100, -32767};
    const int16_t b[4] = {10000, -10000, -50, -1};
    AudioCommon::AudioMixer::Mix16(a, b, 4);
    EXPECT_EQ(32767, a[0]);
    EXPECT_EQ(-32767, a[1]);
    EXPECT_EQ(50, a[2]);
    EXPECT_EQ(-32767, a[3]);
    int8_t c[3] = {100, -100, 5};
    const int8_t d[3] = {100, -100, -6};
    AudioCommon::AudioMixer::Mix8(c, d, 3);
    EXPECT_EQ(127, c[0]);
    EXPECT_EQ(-127, c[1]);
    EXPECT_EQ(-1, c[2]);
    // Offset-binary 8-bit: 128 is silence.
    uint8_t e[3] = {128, 200, 20};
    const uint8_t f[3] = {128, 200, 20};
    AudioCommon::AudioMixer::Mix8OffsetBinary(e, f, 3);
    EXPECT_EQ(128, e[0]);
    EXPECT_EQ(255, e[1]);
    EXPECT_EQ(1, e[2]);
}
