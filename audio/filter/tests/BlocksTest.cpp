// Level meter, sequenced queue, mixing and the tables.
#include <gtest/gtest.h>

#include "AudioFormats.h"
#include "AudioMixer.h"
#include "EnergyMeter.h"
#include "FakeFrameCodec.h"
#include "SequencedQueue.h"

using namespace SonvexFilterCore;

TEST(Blocks, RecordsAndTablesHaveTheirLayout)
{
    EXPECT_EQ(6, EncodeFormatTable[0].id);
    EXPECT_EQ(60u, EncodeFormatTable[0].frameBytes);
    EXPECT_EQ(480, EncodeFormatTable[0].format.wBitsPerSample);
    EXPECT_EQ(4000u, EncodeFormatTable[1].format.nAvgBytesPerSec);
    EXPECT_STREQ("G7221,32 kbps", EncodeFormatTable[1].name);
    const uint8_t* row = reinterpret_cast<const uint8_t*>(&EncodeFormatTable[1]);
    EXPECT_EQ(0x0B, row[1]);
    EXPECT_EQ(0x20, row[2]);
    EXPECT_EQ(1, row[19]);
    EXPECT_EQ(80, row[32]);
    EXPECT_EQ(20, row[104]);
    EXPECT_EQ(0xa0, FecModeTable[5].headerBits);
    EXPECT_EQ(&FecModeTable[3], FindFecModeByHeader(0x77));
    EXPECT_EQ(nullptr, FindFecModeByHeader(0x27));
    EXPECT_EQ(1, FindEncodeFormatRow(EncodeFormatTable, 2, 7));
    EXPECT_EQ(-1, FindEncodeFormatRow(EncodeFormatTable, 2, 5));
}

TEST(Blocks, MixingSaturatesBothWays)
{
    struct Case
    {
        int16_t a, b, sum;
    } cases[] = {
        {20000, 20000, 32767}, {-20000, -20000, -32767}, {-32768, 0, -32767}, {100, -300, -200}};
    for (const Case& c : cases) {
        int16_t dst = c.a, src = c.b;
        AudioCommon::AudioMixer::Mix16(&dst, &src, 1);
        EXPECT_EQ(c.sum, dst);
    }
    uint8_t d8[2] = {100, static_cast<uint8_t>(-100)};
    uint8_t s8[2] = {100, static_cast<uint8_t>(-100)};
    AudioCommon::AudioMixer::Mix8(reinterpret_cast<int8_t*>(d8),
                                  reinterpret_cast<const int8_t*>(s8), 2);
    EXPECT_EQ(127, static_cast<int8_t>(d8[0]));
    EXPECT_EQ(-127, static_cast<int8_t>(d8[1]));
}

TEST(Blocks, MeterReportsTheLastFullWindow)
{
    struct Case
    {
        int16_t amplitude;
        int level;
    } cases[] = {{24575, 100}, {2457, 9}, {-24575, 100}, {0, 0}};
    for (const Case& c : cases) {
        FakeClock clock;
        EnergyMeter meter(clock);
        meter.Reset();
        std::vector<uint8_t> block = ConstantBlock(c.amplitude);
        meter.Add(block.data(), 640);
        EXPECT_EQ(0, meter.GetLevel()); // the window is not over yet
        clock.now += 100;
        meter.Add(block.data(), 640);
        EXPECT_EQ(c.level, meter.GetLevel());
    }
}

TEST(Blocks, QueueKeepsSequenceOrderWithWrapAround)
{
    SequencedQueue q(60, 0);
    auto put = [&](uint32_t seq) {
        SequencedBuffer* b = q.GetFree(0);
        EXPECT_NE(nullptr, b);
        b->SetSequence(seq);
        return q.PutFilledInOrder(b);
    };
    EXPECT_TRUE(put(5));
    EXPECT_TRUE(put(3));
    EXPECT_TRUE(put(4));
    EXPECT_FALSE(put(3));
    EXPECT_EQ((std::vector<uint32_t>{3, 4, 5}), q.FilledSequences());
    EXPECT_EQ(57u, q.GetFreeCount());

    // With 60 buffers: 200 - 100 < 120 puts 100 in front; 200 - 2 does not, so 2 goes behind.
    struct Case
    {
        std::vector<uint32_t> in, order;
    } cases[] = {
        {{200, 100}, {100, 200}},
        {{200, 2}, {200, 2}},
        {{0xFFFFFFF0u, 3, 0xFFFFFFF8u}, {0xFFFFFFF0u, 0xFFFFFFF8u, 3}},
    };
    for (const Case& c : cases) {
        SequencedQueue w(60, 0);
        for (uint32_t seq : c.in) {
            SequencedBuffer* b = w.GetFree(0);
            b->SetSequence(seq);
            w.PutFilledInOrder(b);
        }
        EXPECT_EQ(c.order, w.FilledSequences());
    }
}

TEST(Blocks, DropFilledKeepsCountsInStep)
{
    SequencedQueue q(60, 0);
    for (uint32_t i = 0; i < 10; ++i) {
        SequencedBuffer* b = q.GetFree(0);
        b->SetSequence(i);
        q.PutFilledInOrder(b);
    }
    EXPECT_EQ(2u, q.DropFilled(2, true));
    EXPECT_EQ((std::vector<uint32_t>{0, 1, 2, 3, 4, 5, 6, 7}), q.FilledSequences());
    EXPECT_EQ(8u, q.DropFilled(15, false));
    EXPECT_EQ(0u, q.GetFilledCount());
    // The counts follow the lists: nothing filled to take, every buffer free to take.
    EXPECT_EQ(nullptr, q.GetFilled(0));
    int taken = 0;
    while (q.GetFree(0))
        ++taken;
    EXPECT_EQ(60, taken);
}

TEST(Blocks, BufferGrowsToWhatIsCopied)
{
    SequencedBuffer b(0);
    uint8_t data[100] = {1, 2, 3};
    EXPECT_TRUE(b.SetData(data, 100));
    EXPECT_EQ(100u, b.GetCapacity());
    EXPECT_TRUE(b.SetData(data, 10));
    EXPECT_EQ(100u, b.GetCapacity());
    EXPECT_EQ(10u, b.GetLength());
}
