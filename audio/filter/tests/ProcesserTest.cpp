#include <gtest/gtest.h>

#include <vector>

#include "AudioProcesser.h"
#include "FakeFrameCodec.h"
#include "FecHeader.h"

using namespace SonvexFilterCore;

namespace {

struct SendRun
{
    explicit SendRun(uint8_t codec = 6, int fecMode = 0) : processer(nullptr, &fake)
    {
        EXPECT_EQ(1, processer.SetParam(AudioProcesser::PARAM_CODEC, codec));
        EXPECT_EQ(1, processer.SetParam(AudioProcesser::PARAM_FEC_MODE, fecMode));
    }
    // Processes one block; returns the result and keeps the packet.
    int Block(int16_t value = 1000, uint32_t capacity = 4096, uint32_t inputLength = 640)
    {
        input = ConstantBlock(value);
        input.resize(inputLength > 640 ? inputLength : 640);
        output.assign(capacity, 0xEE);
        head.input = input.data();
        head.inputLength = inputLength;
        head.output = output.data();
        head.outputCapacity = capacity;
        head.consumed = 0xFFFF;
        head.outputLength = 0xFFFF;
        return processer.Process(&head);
    }
    FakeFrameCodecFactory fake;
    AudioProcesser processer;
    std::vector<uint8_t> input, output;
    AUDIO_STREAM_HEAD head;
};

class NoEngines : public FrameCodecFactory
{
public:
    FrameCodecEngine* Create(int, bool) const override { return nullptr; }
};

} // namespace

TEST(Processer, PacketLengthsByBlockForEveryModeAndCodec)
{
    for (uint8_t codec : {uint8_t(6), uint8_t(7)}) {
        const int frame = codec == 6 ? 60 : 80;
        for (int mode = 0; mode < FEC_MODE_COUNT; ++mode) {
            SCOPED_TRACE(testing::Message() << "codec " << int(codec) << " mode " << mode);
            const FecModeRow& row = FecModeTable[mode];
            SendRun run(codec, mode);
            const int m = row.m, k = row.k, c = k ? (row.n - 1) / k : 0;
            const int blocks = k ? m * k * 4 : 10;
            for (int b = 1; b <= blocks; ++b) {
                ASSERT_EQ(1, run.Block());
                uint32_t expect;
                if (!k) {
                    expect = static_cast<uint32_t>(frame + 1);
                } else if (b % m) {
                    expect = 0;
                } else {
                    int group = (b / m - 1) / k;
                    int parity = group < c ? group : c;
                    expect = static_cast<uint32_t>(1 + (m * frame + 4) * (1 + parity));
                }
                ASSERT_EQ(expect, run.head.outputLength) << "block " << b;
                ASSERT_EQ(expect ? 0u : 640u, run.head.consumed) << "block " << b;
                if (expect) {
                    ASSERT_EQ(codec | row.headerBits, run.output[0]);
                }
            }
        }
    }
}

TEST(Processer, FecModeBeforeCodecIsBuiltWithTheCodec)
{
    FakeFrameCodecFactory fake;
    AudioProcesser p(nullptr, &fake);
    EXPECT_EQ(0, p.SetParam(AudioProcesser::PARAM_FEC_MODE, 3));
    int value = -1;
    p.GetParam(AudioProcesser::PARAM_FEC_MODE, &value);
    EXPECT_EQ(3, value);
    EXPECT_EQ(1, p.SetParam(AudioProcesser::PARAM_CODEC, 6));
    std::vector<uint8_t> in = ConstantBlock(5), out(1024);
    AUDIO_STREAM_HEAD h = {in.data(), 640, 0, out.data(), 1024, 0};
    EXPECT_EQ(1, p.Process(&h));
    EXPECT_EQ(1, p.Process(&h));
    EXPECT_EQ(1u + 124u, h.outputLength);
    EXPECT_EQ(0x76, out[0]);
}

TEST(Processer, FecModeOutsideTheTableChangesNothing)
{
    SendRun run(6, 2);
    EXPECT_EQ(0, run.processer.SetParam(AudioProcesser::PARAM_FEC_MODE, 6));
    EXPECT_EQ(0, run.processer.SetParam(AudioProcesser::PARAM_FEC_MODE, -1));
    int mode = -1;
    run.processer.GetParam(AudioProcesser::PARAM_FEC_MODE, &mode);
    EXPECT_EQ(2, mode);
    run.Block();
    ASSERT_EQ(1, run.Block());
    EXPECT_EQ(125u, run.head.outputLength);
    EXPECT_EQ(0x56, run.output[0]);
}

TEST(Processer, TooSmallOutputLosesNoFrameAndNoGroupSlot)
{
    SendRun run(6, 2);
    run.Block(11);
    EXPECT_EQ(0, run.Block(12, 100)); // cannot hold 1 + 124 bytes: refused before counting
    EXPECT_EQ(0u, run.head.outputLength);
    ASSERT_EQ(1, run.Block(12)); // the caller offers the block again
    ASSERT_EQ(125u, run.head.outputLength);
    FecHeader h = FecHeader::Read(&run.output[1]);
    EXPECT_EQ(0, h.index);
    EXPECT_EQ(11, run.output[5]); // first frame of the pair is the one held before
    run.Block(13);
    ASSERT_EQ(1, run.Block(14));
    EXPECT_EQ(1, FecHeader::Read(&run.output[1]).index);

    SendRun plain(7, 0);
    EXPECT_EQ(0, plain.Block(1, 80)); // 80-byte frame needs 81
    EXPECT_EQ(1, plain.Block(1, 81));
    EXPECT_EQ(81u, plain.head.outputLength);
    EXPECT_EQ(0x07, plain.output[0]);
    EXPECT_EQ(0, plain.Block(1, 4096, 639));
}

TEST(Processer, SilenceIsDroppedAfterThirtyNonVoiceBlocks)
{
    SendRun run(6, 0);
    run.processer.SetParam(AudioProcesser::PARAM_SILENCE_DROP, 1);
    for (int b = 1; b <= 40; ++b) {
        ASSERT_EQ(1, run.Block(0));
        if (b <= 30) {
            EXPECT_EQ(61u, run.head.outputLength) << b;
        } else {
            EXPECT_EQ(0u, run.head.outputLength) << b;
            EXPECT_EQ(640u, run.head.consumed) << b;
        }
    }
}

TEST(Processer, Parameters)
{
    FakeFrameCodecFactory fake;
    AudioProcesser p(nullptr, &fake);
    int v = -1;
    EXPECT_EQ(1, p.GetParam(AudioProcesser::PARAM_CODEC, &v));
    EXPECT_EQ(15, v);
    EXPECT_EQ(1, p.GetParam(AudioProcesser::PARAM_FEC_MODE_COUNT, &v));
    EXPECT_EQ(6, v);
    EXPECT_EQ(0, p.GetParam(4, &v));
    EXPECT_EQ(0, p.SetParam(4, 1));
    EXPECT_EQ(0, p.SetParam(AudioProcesser::PARAM_LEVEL, 1));
    struct Case
    {
        int id, set, get;
    } cases[] = {
        {AudioProcesser::PARAM_NOISE_SUPPRESSION, 3, 3},
        {AudioProcesser::PARAM_NOISE_SUPPRESSION, 9, 9},
        {AudioProcesser::PARAM_AGC, 2, 2},
        {AudioProcesser::PARAM_AGC, 7, 0},
        {AudioProcesser::PARAM_SILENCE_DROP, 1, 1},
        {AudioProcesser::PARAM_METER, 1, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(1, p.SetParam(c.id, c.set));
        EXPECT_EQ(1, p.SetParam(c.id, c.set)); // the same value again
        EXPECT_EQ(1, p.GetParam(c.id, &v));
        EXPECT_EQ(c.get, v) << c.id;
    }
    AudioProcesser q(nullptr, &fake);
    EXPECT_EQ(1, q.GetParam(AudioProcesser::PARAM_LEVEL, &v)); // switches the meter on
    EXPECT_EQ(0, v);
    EXPECT_EQ(1, q.GetParam(AudioProcesser::PARAM_METER, &v));
    EXPECT_EQ(1, v);

    // A codec that cannot be opened leaves none, and a retry really retries.
    NoEngines none;
    AudioProcesser r(nullptr, &none);
    EXPECT_EQ(0, r.SetParam(AudioProcesser::PARAM_CODEC, 6));
    EXPECT_EQ(0, r.SetParam(AudioProcesser::PARAM_CODEC, 6));
    r.GetParam(AudioProcesser::PARAM_CODEC, &v);
    EXPECT_EQ(15, v);
}

TEST(Processer, GainControlAndSuppressionWorkOnTheCallersBlock)
{
    SendRun run(6, 0);
    run.processer.SetParam(AudioProcesser::PARAM_NOISE_SUPPRESSION, 2);
    run.processer.SetParam(AudioProcesser::PARAM_AGC, 1);
    ASSERT_EQ(1, run.Block(3000));
    // The high-pass alone already moves a DC block away from its value.
    const int16_t* s = reinterpret_cast<const int16_t*>(run.input.data());
    EXPECT_NE(3000, s[319]);
}

TEST(Processer, LevelMeterFollowsTheBlocks)
{
    FakeFrameCodecFactory fake;
    FakeClock clock;
    AudioProcesser p(nullptr, &fake, clock);
    p.SetParam(AudioProcesser::PARAM_CODEC, 6);
    p.SetParam(AudioProcesser::PARAM_METER, 1);
    std::vector<uint8_t> in = ConstantBlock(2457), out(256);
    AUDIO_STREAM_HEAD h = {in.data(), 640, 0, out.data(), 256, 0};
    ASSERT_EQ(1, p.Process(&h));
    clock.now += 100;
    ASSERT_EQ(1, p.Process(&h));
    int level = -1;
    ASSERT_EQ(1, p.GetParam(AudioProcesser::PARAM_LEVEL, &level));
    EXPECT_EQ(9, level);
    EXPECT_EQ(1, p.SetParam(AudioProcesser::PARAM_METER, 0));
    ASSERT_EQ(1, p.GetParam(AudioProcesser::PARAM_LEVEL, &level));
    EXPECT_EQ(0, level);
}
