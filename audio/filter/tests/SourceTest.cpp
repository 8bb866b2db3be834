#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "AudioProcesser.h"
#include "AudioSource.h"
#include "AudioSourceGroup.h"
#include "FakeFrameCodec.h"

using namespace SonvexFilterCore;

namespace {

// A plain (no FEC) packet for codec 6 whose frame decodes to a block of `value`.
std::vector<uint8_t> PlainPacket(int16_t value, uint8_t header = 0x06)
{
    std::vector<uint8_t> p(61, 0x5A);
    p[0] = header;
    p[1] = static_cast<uint8_t>(value);
    p[2] = static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8);
    return p;
}

// First sample of each 640-byte block read, until silence or count blocks.
std::vector<int> ReadValues(AudioSource& s, int count)
{
    std::vector<int> values;
    uint8_t block[640];
    for (int i = 0; i < count; ++i) {
        s.Read(block, sizeof(block));
        int16_t v;
        memcpy(&v, block, 2);
        if (v == 0)
            break;
        values.push_back(v);
    }
    return values;
}

struct Fixture
{
    FakeFrameCodecFactory fake;
    FakeClock clock;
    AudioSource source{1, &fake, clock};
    void Send(uint32_t seq, int16_t value) { source.Write(seq, PlainPacket(value).data(), 61); }
};

} // namespace

TEST(Source, FirstPacketOpensAndPlayStartsAtThreshold)
{
    Fixture f;
    std::vector<bool> playing;
    for (uint32_t seq = 1; seq <= 6; ++seq) {
        f.Send(seq, static_cast<int16_t>(100 + seq));
        playing.push_back(f.source.IsPlaying());
    }
    EXPECT_EQ((std::vector<bool>{false, false, false, true, true, true}), playing);
    EXPECT_EQ((std::vector<int>{102, 103, 104, 105, 106}), ReadValues(f.source, 10));
    EXPECT_FALSE(f.source.IsPlaying()); // ran dry
}

TEST(Source, ReorderingDuplicatesAndLateArrivals)
{
    Fixture f;
    for (uint32_t seq : {1u, 2u, 3u, 4u, 6u, 9u, 7u, 5u, 9u, 8u})
        f.Send(seq, static_cast<int16_t>(100 + seq));
    EXPECT_EQ((std::vector<uint32_t>{2, 3, 4, 5, 6, 7, 8, 9}), f.source.GetQueuedSequences());
    EXPECT_EQ((std::vector<int>{102, 103, 104, 105}), ReadValues(f.source, 4));
    f.Send(4, 104); // older than the packet last played: refused
    f.Send(10, 110);
    EXPECT_EQ((std::vector<uint32_t>{6, 7, 8, 9, 10}), f.source.GetQueuedSequences());
}

TEST(Source, StartThresholdFollowsTheLargestBackwardJump)
{
    struct Case
    {
        std::vector<uint32_t> order;
        int threshold;
    } cases[] = {
        {{1, 2, 3, 4, 5, 6, 8, 9, 7}, 5},                 // 2 behind: 2.5 x 2
        {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 2}, 25}, // 10 behind
        {{1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13,
          14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25},
         5},
    };
    for (const Case& c : cases) {
        Fixture f;
        for (uint32_t seq : c.order)
            f.Send(seq, 100);
        f.clock.now += 5000;
        f.Send(100, 100);
        EXPECT_EQ(c.threshold, f.source.GetStartThreshold()) << c.order.size();
    }
    // A jump of 40 would ask for 100 %: capped at 50.
    Fixture g;
    g.Send(500, 100);
    g.Send(501, 100);
    g.Send(461, 100);
    g.clock.now += 5000;
    g.Send(502, 100);
    EXPECT_EQ(50, g.source.GetStartThreshold());
}

TEST(Source, ShortReadStopsPlayAndFillsSilence)
{
    Fixture f;
    for (uint32_t seq = 1; seq <= 4; ++seq)
        f.Send(seq, 300);
    uint8_t block[640];
    f.source.Read(block, 640);
    f.source.Read(block, 640);
    ASSERT_TRUE(f.source.IsPlaying());
    std::vector<uint8_t> out(1280, 0xEE);
    EXPECT_EQ(1280u, f.source.Read(out.data(), 1280));
    EXPECT_EQ(0, memcmp(out.data(), ConstantBlock(300).data(), 640));
    EXPECT_EQ(std::vector<uint8_t>(640, 0), std::vector<uint8_t>(out.begin() + 640, out.end()));
    EXPECT_FALSE(f.source.IsPlaying());
}

TEST(Source, VolumeScalesAndSaturates)
{
    struct Case
    {
        int volume;
        int16_t in, out;
    } cases[] = {{40, -3, -1},
                 {40, 1000, 500},
                 {80, -32768, -32768},
                 {200, 20000, 32767},
                 {200, -20000, -32768},
                 // Gains whose product leaves 32 bits still saturate with the sample's sign.
                 {1 << 20, 20000, 32767},
                 {0x7FFFFFFF, -20000, -32768},
                 {0x7FFFFFFF, 1, 32767}};
    for (const Case& c : cases) {
        Fixture f;
        f.source.SetVolume(c.volume);
        for (uint32_t seq = 1; seq <= 4; ++seq)
            f.Send(seq, c.in);
        uint8_t block[640];
        f.source.Read(block, 640);
        int16_t v;
        memcpy(&v, block + 100, 2);
        EXPECT_EQ(c.out, v) << c.volume << " " << c.in;
    }
}

TEST(Source, SenderRestartStartsAfresh)
{
    Fixture f;
    for (uint32_t seq = 500; seq < 520; ++seq)
        f.Send(seq, 500);
    uint8_t block[640];
    for (int i = 0; i < 5; ++i)
        f.source.Read(block, 640);
    // 450 after 519 is a late packet; 10 after it is a sender that started again.
    f.Send(450, 450);
    EXPECT_EQ(14u, f.source.GetQueuedCount());
    for (uint32_t seq = 10; seq < 16; ++seq)
        f.Send(seq, static_cast<int16_t>(1000 + seq));
    EXPECT_EQ((std::vector<uint32_t>{11, 12, 13, 14, 15}), f.source.GetQueuedSequences());
    std::vector<int> values = ReadValues(f.source, 20);
    ASSERT_FALSE(values.empty());
    EXPECT_EQ(1015, values.back());
}

TEST(Source, BadAndChangingHeadersAreHandled)
{
    Fixture f;
    uint8_t unknown[61] = {0x05};
    EXPECT_EQ(0, f.source.Write(1, unknown, 61)); // no row for codec 5
    EXPECT_EQ(0, f.source.Write(2, unknown, 61));
    uint8_t badFec[61] = {0x26};
    EXPECT_EQ(0, f.source.Write(3, badFec, 61)); // no FEC mode with these bits
    EXPECT_EQ(0, f.source.Write(4, nullptr, 61));
    for (uint32_t seq = 5; seq <= 9; ++seq)
        f.Send(seq, 200);
    EXPECT_EQ(4u, f.source.GetQueuedCount());
    // Another codec: the queue starts over and the opening packet is not played.
    f.source.Write(10, PlainPacket(700, 0x07).data(), 81);
    EXPECT_EQ(0u, f.source.GetQueuedCount());
    uint8_t tiny[2] = {0x07, 1};
    f.source.Write(11, tiny, 2); // a frame too short to decode
    uint8_t block[640];
    EXPECT_EQ(640u, f.source.Read(block, 640));
}

TEST(Source, NetStateCountsLossWithoutWrapping)
{
    Fixture f;
    char text[256] = {};
    FEC_NET_STATE state;
    memset(&state, 0xAB, sizeof(state));
    f.Send(1, 100);
    EXPECT_EQ(0, f.source.GetNetState(&state, text)); // nothing counted yet
    for (uint32_t seq = 2; seq <= 101; ++seq)
        if (seq != 20 && seq != 40 && seq != 60)
            f.Send(seq, 100);
    ASSERT_EQ(1, f.source.GetNetState(&state, text));
    EXPECT_EQ(3, state.lossPercent);
    EXPECT_EQ(1, state.longestLoss);
    EXPECT_EQ(101u, state.lastSequence);
    EXPECT_EQ(0xAB, state.reserved[0]); // the first 16 bytes are the caller's
    EXPECT_NE(nullptr, strstr(text, "Lost avg/max/now  3.00%"));

    Fixture g;
    g.Send(1, 100);
    g.Send(2, 100);
    g.Send(303, 100); // 300 lost in one jump
    ASSERT_EQ(1, g.source.GetNetState(&state, nullptr));
    EXPECT_EQ(255, state.longestLoss);
    EXPECT_EQ(99, state.lossPercent); // 255 / (255 + 2)
}

TEST(Source, FecStreamRepairsLostPacketsEndToEnd)
{
    // A processer in mode 1 (k 6, n 12) feeds the source; every sixth packet is lost.
    FakeFrameCodecFactory fake;
    FakeClock clock;
    AudioProcesser sender(nullptr, &fake, clock);
    sender.SetParam(AudioProcesser::PARAM_CODEC, 6);
    sender.SetParam(AudioProcesser::PARAM_FEC_MODE, 1);
    AudioSource source(1, &fake, clock);
    std::vector<uint8_t> out(2048);
    std::vector<int> values;
    auto readBlock = [&]() {
        uint8_t block[640];
        source.Read(block, sizeof(block));
        int16_t v;
        memcpy(&v, block, 2);
        if (v)
            values.push_back(v);
    };
    uint32_t seq = 1000;
    for (int b = 0; b < 120; ++b) {
        std::vector<uint8_t> in = ConstantBlock(static_cast<int16_t>(100 + b));
        AUDIO_STREAM_HEAD h = {in.data(), 640, 0, out.data(), 2048, 0};
        ASSERT_EQ(1, sender.Process(&h));
        ++seq;
        if (b % 6 != 2)
            source.Write(seq, out.data(), h.outputLength);
        readBlock(); // play-out runs alongside
    }
    for (int i = 0; i < 50; ++i)
        readBlock();
    // Everything comes out in order, up to the gap in the final group, which
    // still waits for parity that never comes.
    ASSERT_EQ(116u, values.size());
    for (size_t i = 0; i < values.size(); ++i)
        ASSERT_EQ(static_cast<int>(100 + i), values[i]) << i;
    FEC_NET_STATE state;
    ASSERT_EQ(1, source.GetNetState(&state, nullptr));
    EXPECT_EQ(0, state.lossPercent);
}

TEST(Source, LongFecReadsStayInsideTheDecodeBuffer)
{
    FakeFrameCodecFactory fake;
    FakeClock clock;
    AudioProcesser sender(nullptr, &fake, clock);
    sender.SetParam(AudioProcesser::PARAM_CODEC, 7);
    sender.SetParam(AudioProcesser::PARAM_FEC_MODE, 5); // three frames per packet
    AudioSource source(1, &fake, clock);
    std::vector<uint8_t> out(4096);
    for (int b = 0; b < 300; ++b) {
        std::vector<uint8_t> in = ConstantBlock(static_cast<int16_t>(1 + b));
        AUDIO_STREAM_HEAD h = {in.data(), 640, 0, out.data(), 4096, 0};
        ASSERT_EQ(1, sender.Process(&h));
        if (h.outputLength)
            source.Write(static_cast<uint32_t>(b), out.data(), h.outputLength);
    }
    std::vector<uint8_t> big(8000);
    EXPECT_EQ(8000u, source.Read(big.data(), 8000));
    int16_t first;
    memcpy(&first, big.data(), 2);
    EXPECT_GT(first, 0);
}

TEST(SourceGroup, MixesSourcesWithSaturation)
{
    FakeFrameCodecFactory fake;
    FakeClock clock;
    AudioSourceGroup group(16000, &fake, clock);
    EXPECT_EQ(32000u, group.GetFormat().nAvgBytesPerSec);
    EXPECT_EQ(1, group.AddSource(7));
    EXPECT_EQ(0, group.AddSource(7));
    EXPECT_EQ(1, group.AddSource(8));
    EXPECT_EQ(1, group.AddSource(9));
    EXPECT_EQ(0, group.WriteSource(10, 1, PlainPacket(1).data(), 61));
    for (uint32_t seq = 1; seq <= 4; ++seq) {
        EXPECT_EQ(1, group.WriteSource(7, seq, PlainPacket(20000).data(), 61));
        EXPECT_EQ(1, group.WriteSource(8, seq, PlainPacket(20000).data(), 61));
        EXPECT_EQ(1, group.WriteSource(9, seq, PlainPacket(-5000).data(), 61));
    }
    uint8_t mix[640];
    EXPECT_EQ(640u, group.ReadData(mix, 640));
    int16_t v;
    memcpy(&v, mix + 10, 2);
    EXPECT_EQ(32767 - 5000, v); // 20000 + 20000 saturates before the third is added

    EXPECT_EQ(1, group.SetSourceVolume(8, 40));
    EXPECT_EQ(40, group.GetSourceVolume(8));
    EXPECT_EQ(0, group.GetSourceVolume(99));
    EXPECT_EQ(0, group.GetSourceEnergy(8)); // switches the meter on
    EXPECT_EQ(1, group.RemoveSource(8));
    EXPECT_EQ(0, group.RemoveSource(8));
    EXPECT_EQ(0, group.SourceIsExist(8));
    EXPECT_EQ(1, group.SourceIsExist(9));

    AudioSourceGroup odd(11025, &fake, clock);
    EXPECT_EQ(0u, odd.GetFormat().nSamplesPerSec);
    EXPECT_EQ(1, odd.AddSource(1));
}

TEST(Source, WidebandCodecRoundTripThroughProcesserAndGroup)
{
    // A 500 Hz tone through codec 7 with FEC mode 3 comes out as that tone.
    AudioProcesser sender(nullptr);
    ASSERT_EQ(1, sender.SetParam(AudioProcesser::PARAM_CODEC, 7));
    ASSERT_EQ(1, sender.SetParam(AudioProcesser::PARAM_FEC_MODE, 3));
    AudioSourceGroup group(16000);
    group.AddSource(5);
    std::vector<uint8_t> out(2048);
    std::vector<int16_t> played;
    double phase = 0;
    for (int b = 0; b < 150; ++b) {
        std::vector<int16_t> in(320);
        for (int16_t& s : in) {
            s = static_cast<int16_t>(6000 * std::sin(phase));
            phase += 2 * 3.14159265358979 * 500 / 16000;
        }
        AUDIO_STREAM_HEAD h = {in.data(), 640, 0, out.data(), 2048, 0};
        ASSERT_EQ(1, sender.Process(&h));
        if (h.outputLength) {
            ASSERT_EQ(0x77, out[0]);
            group.WriteSource(5, static_cast<uint32_t>(b), out.data(), h.outputLength);
        }
        std::vector<int16_t> block(320);
        group.ReadData(reinterpret_cast<uint8_t*>(block.data()), 640);
        played.insert(played.end(), block.begin(), block.end());
    }
    // Measure the tone in the last second played: its power at 500 Hz
    // against everything else.
    size_t from = played.size() - 16000;
    double total = 0, re = 0, im = 0;
    for (size_t i = from; i < played.size(); ++i) {
        total += double(played[i]) * played[i];
        re += played[i] * std::cos(2 * 3.14159265358979 * 500 * i / 16000);
        im += played[i] * std::sin(2 * 3.14159265358979 * 500 * i / 16000);
    }
    double tone = 2 * (re * re + im * im) / 16000.0;
    ASSERT_GT(total, 0.0);
    EXPECT_GT(tone / total, 0.9);
}

TEST(SourceGroup, WritersAndReaderOnTwoThreads)
{
    FakeFrameCodecFactory fake;
    AudioSourceGroup group(16000, &fake);
    for (uint32_t id = 1; id <= 4; ++id)
        group.AddSource(id);
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    int shortReads = 0;
    std::thread reader([&]() {
        uint8_t block[640];
        for (int i = 0; i < 400; ++i)
            if (group.ReadData(block, 640) != 640)
                ++shortReads;
        SetEvent(done);
    });
    for (uint32_t seq = 1; seq <= 400; ++seq)
        for (uint32_t id = 1; id <= 4; ++id)
            group.WriteSource(id, seq, PlainPacket(static_cast<int16_t>(seq)).data(), 61);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(done, 20000));
    reader.join();
    CloseHandle(done);
    EXPECT_EQ(0, shortReads);
    EXPECT_EQ(1, group.RemoveSource(2));
}
