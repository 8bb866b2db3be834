#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "AudioCodec.h"
#include "AudioSource.h"
#include "RavoTestUtil.h"

using namespace RavoEngine;

namespace {
const uint8_t kG7221_32 = 0x07;
const WAVEFORMATEX kPlayout = Pcm16(16000, 1);

std::vector<uint8_t> Frame(uint32_t seq, uint32_t bytes = 80)
{
    return std::vector<uint8_t>(bytes, static_cast<uint8_t>(seq));
}

bool Send(AudioSource& s, uint32_t seq, uint8_t first = kG7221_32)
{
    const std::vector<uint8_t> p = MakePacket(first, seq, Frame(seq));
    return s.Insert(p.data(), static_cast<int>(p.size()));
}

// Coded frames of a real tone, for tests that listen to the output.
std::vector<std::vector<uint8_t>> CodedTone(int frames, double amplitude)
{
    AudioCodec enc;
    WAVEFORMATEX pcm;
    EXPECT_TRUE(enc.Open(4, true, &pcm));
    std::vector<int16_t> tone = Tone(320 * frames, 500.0, amplitude, 16000);
    std::vector<std::vector<uint8_t>> out;
    for (int i = 0; i < frames; ++i) {
        std::vector<uint8_t> f(80);
        enc.Encode(reinterpret_cast<const uint8_t*>(tone.data() + 320 * i), 640, f.data(), 80);
        out.push_back(f);
    }
    return out;
}
} // namespace

TEST(RavoSource, FirstPacketOnlyOpensTheSource)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    EXPECT_TRUE(s.Insert(MakePacket(7, 1000, Frame(0)).data(), 85) == false);
    EXPECT_TRUE(s.HasDecoder());
    EXPECT_TRUE(Send(s, 1001));
    EXPECT_EQ((std::vector<uint32_t>{1001}), s.GetQueuedSequences());
}

TEST(RavoSource, ResetOnRestartedOrFarBehindSender)
{
    const struct
    {
        uint32_t last;
        uint32_t next;
        bool reset;
    } cases[] = {
        {80, 50, true}, // d = -31 while s is below 100
        {180, 150, false},
        {500, 450, false}, // d = -51
        {500, 390, true},  // d = -111
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.next);
        FakeClock clock;
        AudioSource s(kPlayout, false, clock);
        Send(s, c.last - 2);
        Send(s, c.last - 1);
        Send(s, c.last);
        ASSERT_EQ(2u, s.GetQueuedCount());
        Send(s, c.next);
        if (c.reset) {
            // The queue is emptied and the new number is the reference.
            EXPECT_EQ(0u, s.GetQueuedCount());
            EXPECT_EQ(c.next, s.GetLastReceived());
        } else {
            EXPECT_EQ(3u, s.GetQueuedCount());
            EXPECT_EQ(c.last, s.GetLastReceived());
        }
    }
    // Another first byte resets too.
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    Send(s, 10);
    Send(s, 11);
    Send(s, 12, 0x06);
    EXPECT_EQ(0x06, s.GetFormatByte());
    EXPECT_EQ(0u, s.GetQueuedCount());
}

TEST(RavoSource, PacketSizesAndUnknownKinds)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    Send(s, 1);
    const std::vector<uint8_t> five = MakePacket(7, 2, {});
    EXPECT_FALSE(s.Insert(five.data(), 5));
    EXPECT_FALSE(s.Insert(nullptr, 10));
    const std::vector<uint8_t> six = MakePacket(7, 2, {0x55});
    EXPECT_TRUE(s.Insert(six.data(), 6));
    EXPECT_EQ(1u, s.GetQueuedCount());

    // A kind no row carries leaves the source without a decoder; its frames
    // are queued but reads give silence.
    AudioSource bad(kPlayout, false, clock);
    EXPECT_FALSE(Send(bad, 1, 0x05));
    EXPECT_FALSE(bad.HasDecoder());
    for (uint32_t i = 2; i < 10; ++i)
        Send(bad, i, 0x05);
    std::vector<uint8_t> out(640, 1);
    EXPECT_EQ(640, bad.Read(out.data(), 640));
    EXPECT_EQ(std::vector<uint8_t>(640, 0), out);
    // An FEC code on an unknown kind drops the packets.
    AudioSource badFec(kPlayout, false, clock);
    EXPECT_FALSE(Send(badFec, 1, 0x75));
    EXPECT_FALSE(Send(badFec, 2, 0x75));
    EXPECT_EQ(0u, badFec.GetQueuedCount());
}

TEST(RavoSource, ReordersAndRecoversRedundantCopies)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    Send(s, 0);
    for (uint32_t seq : {1u, 2u, 4u, 3u, 3u, 6u})
        Send(s, seq);
    EXPECT_EQ((std::vector<uint32_t>{1, 2, 3, 4, 6}), s.GetQueuedSequences());

    // Redundancy distance 2: each packet also carries the frame two back, so
    // a lost packet's frame arrives with the packet two after it.
    AudioSource r(kPlayout, false, clock);
    auto sendRedundant = [&](AudioSource& src, uint32_t seq) {
        std::vector<uint8_t> payload = Frame(seq);
        const std::vector<uint8_t> old = Frame(seq - 2);
        payload.insert(payload.end(), old.begin(), old.end());
        const std::vector<uint8_t> p = MakePacket(0x27, seq, payload);
        return src.Insert(p.data(), static_cast<int>(p.size()));
    };
    for (uint32_t seq : {10u, 11u, 13u, 14u}) // 12 lost on the way
        sendRedundant(r, seq);
    // The first packet's own frame only opens the source; its copy of 8 and
    // the copy of 9 are queued.
    EXPECT_EQ((std::vector<uint32_t>{8, 9, 11, 12, 13, 14}), r.GetQueuedSequences());

    // A local source keeps arrival order and ignores the copies.
    AudioSource local(kPlayout, true, clock);
    for (uint32_t seq : {10u, 11u, 13u, 12u, 14u})
        sendRedundant(local, seq);
    EXPECT_EQ((std::vector<uint32_t>{10, 11, 13, 12, 14}), local.GetQueuedSequences());
    // An odd payload cannot be split in two halves.
    const std::vector<uint8_t> odd = MakePacket(0x27, 15, Frame(15, 81));
    EXPECT_FALSE(r.Insert(odd.data(), static_cast<int>(odd.size())));
}

TEST(RavoSource, PlaysPausesAndFillsSilence)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    const auto frames = CodedTone(10, 8000.0);
    std::vector<uint8_t> out(640);
    EXPECT_EQ(640, s.Read(out.data(), 640)); // nothing yet: silence
    for (uint32_t i = 0; i < 6; ++i) {
        const std::vector<uint8_t> p = MakePacket(7, 100 + i, frames[i]);
        s.Insert(p.data(), static_cast<int>(p.size()));
    }
    // 5 frames queued are 8 % of the queue: above the 5 % start threshold.
    ASSERT_TRUE(s.IsPlaying());
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(640, s.Read(out.data(), 640));
        EXPECT_GT(Rms(reinterpret_cast<int16_t*>(out.data()), 320), 100.0) << i;
    }
    EXPECT_EQ(105u, s.GetLastPlayed());
    // Empty queue while playing: a full block of silence and a pause.
    memset(out.data(), 1, out.size());
    EXPECT_EQ(640, s.Read(out.data(), 640));
    EXPECT_EQ(std::vector<uint8_t>(640, 0), out);
    EXPECT_FALSE(s.IsPlaying());
    // A frame older than the one last played is dropped.
    const std::vector<uint8_t> late = MakePacket(7, 104, frames[0]);
    EXPECT_FALSE(s.Insert(late.data(), static_cast<int>(late.size())));
}

TEST(RavoSource, VolumeScalesDecodedSamples)
{
    FakeClock clock;
    const auto frames = CodedTone(8, 8000.0);
    std::vector<std::vector<int16_t>> reads;
    for (int volume : {80, 40, 200}) {
        AudioSource s(kPlayout, false, clock);
        s.SetVolume(volume);
        EXPECT_EQ(volume, s.GetVolume());
        for (uint32_t i = 0; i < 8; ++i) {
            const std::vector<uint8_t> p = MakePacket(7, i, frames[i]);
            s.Insert(p.data(), static_cast<int>(p.size()));
        }
        std::vector<int16_t> out(320 * 6);
        s.Read(reinterpret_cast<uint8_t*>(out.data()), static_cast<int>(out.size() * 2));
        reads.push_back(out);
    }
    for (size_t i = 0; i < reads[0].size(); ++i) {
        ASSERT_EQ(reads[0][i] * 40 / 80, reads[1][i]) << i;
        const int loud = reads[0][i] * 200 / 80;
        ASSERT_EQ(std::max(-32768, std::min(32767, loud)), reads[2][i]) << i;
    }
}

TEST(RavoSource, LossCountersSaturate)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    Send(s, 1000);
    Send(s, 1001);
    Send(s, 1003); // 1002 lost
    SourceStatSlot slot = s.GetSlot(s.GetSlotIndex());
    EXPECT_EQ(1, slot.lost);
    EXPECT_EQ(2, slot.received);
    // Next second (a read turns the slot even while nothing plays): a fresh
    // slot, and 1002 arrives late: the lost count stays 0.
    clock.now += 1001;
    std::vector<uint8_t> pcm(640);
    s.Read(pcm.data(), 640);
    ASSERT_EQ(1, s.GetSlotIndex());
    Send(s, 1002);
    EXPECT_EQ(0, s.GetSlot(1).lost);
    // A big forward jump stops the counters at 255.
    Send(s, 1003 + 1000);
    slot = s.GetSlot(1);
    EXPECT_EQ(255, slot.lost);
    EXPECT_EQ(255, slot.lossBurst);
    for (uint32_t i = 0; i < 300; ++i)
        Send(s, 2004 + i);
    EXPECT_EQ(255, s.GetSlot(1).received);
}

TEST(RavoSource, NetStateAndBoundedText)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    FEC_NET_STATE state;
    memset(&state, 0xEE, sizeof state);
    EXPECT_EQ(1, s.GetNetState(&state, nullptr, 0));
    EXPECT_EQ(0.0, state.missingRatio);
    EXPECT_EQ(0.0, state.presentRatio);
    char text[NET_STATE_TEXT_MIN];
    EXPECT_EQ(0, s.GetNetState(&state, text, sizeof text));

    for (uint32_t seq = 1; seq <= 10; ++seq) {
        clock.now += 20;
        if (seq != 5 && seq != 6)
            Send(s, seq);
    }
    ASSERT_EQ(1, s.GetNetState(&state, text, sizeof text));
    EXPECT_EQ(10u, state.lastSequence);
    EXPECT_EQ(7u, state.bufferLevel);
    // 2 lost of 7 received + 2 lost: 22 %.
    EXPECT_EQ(22, state.lossPercent);
    EXPECT_EQ(2, state.lossBurst);
    EXPECT_NE(nullptr, strstr(text, "Lost avg/max/now 22.22%/ 2/"));
    EXPECT_NE(nullptr, strstr(text, "\nDelay avg/max/now "));
    // The text never runs past the size given.
    char small[24];
    memset(small, 'q', sizeof small);
    EXPECT_EQ(1, s.GetNetState(&state, small, 16));
    EXPECT_EQ(15u, strlen(small));
    EXPECT_EQ('q', small[16]);

    // A sender that went quiet ages out of the ten one-second slots.
    std::vector<uint8_t> pcm(640);
    for (int i = 0; i < 11; ++i) {
        clock.now += 1001;
        s.Read(pcm.data(), 640);
    }
    EXPECT_EQ(0, s.GetNetState(&state, text, sizeof text));
}

TEST(RavoSource, StartThresholdFollowsLateness)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    Send(s, 100);
    Send(s, 110);
    Send(s, 102); // 8 late
    clock.now += 5000;
    Send(s, 111); // the period closes: 2.5 x 8 = 20 %
    EXPECT_EQ(20, s.GetThreshold());
    clock.now += 5000;
    Send(s, 112); // a quiet period: back to the 5 % minimum
    EXPECT_EQ(5, s.GetThreshold());
}

TEST(RavoSource, FullQueueFreesTheOldestQuarter)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    Send(s, 0);
    for (uint32_t seq = 1; seq <= 61; ++seq)
        Send(s, seq);
    // The 61st frame found no free buffer: 15 of the oldest went.
    EXPECT_EQ(46u, s.GetQueuedCount());
    EXPECT_EQ(16u, s.GetQueuedSequences().front());
    EXPECT_EQ(61u, s.GetQueuedSequences().back());
}

TEST(RavoSource, EightBitPlayoutIsOffsetBinary)
{
    FakeClock clock;
    AudioSource idle(Pcm8(16000), false, clock);
    std::vector<uint8_t> out(320, 7);
    EXPECT_EQ(320, idle.Read(out.data(), 320));
    EXPECT_EQ(std::vector<uint8_t>(320, 128), out);

    // Decoded PCM is converted to 8 bits; the volume scales around 128.
    const auto frames = CodedTone(8, 8000.0);
    std::vector<std::vector<uint8_t>> reads;
    for (int volume : {80, 40}) {
        AudioSource s(Pcm8(16000), false, clock);
        s.SetVolume(volume);
        for (uint32_t i = 0; i < 8; ++i) {
            const std::vector<uint8_t> p = MakePacket(7, i, frames[i]);
            s.Insert(p.data(), static_cast<int>(p.size()));
        }
        ASSERT_TRUE(s.HasDecoder());
        std::vector<uint8_t> pcm(320 * 5);
        s.Read(pcm.data(), static_cast<int>(pcm.size()));
        reads.push_back(pcm);
    }
    int spread = 0;
    for (size_t i = 0; i < reads[0].size(); ++i) {
        const int full = reads[0][i] - 128;
        spread = std::max(spread, std::abs(full));
        ASSERT_EQ(full * 40 / 80 + 128, reads[1][i]) << i;
    }
    EXPECT_GT(spread, 10);
}

TEST(RavoSource, LevelMeterSwitchesOnWhenAsked)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    EXPECT_EQ(0, s.GetEnergy());
    const auto frames = CodedTone(8, 20000.0);
    for (uint32_t i = 0; i < 8; ++i) {
        const std::vector<uint8_t> p = MakePacket(7, i, frames[i]);
        s.Insert(p.data(), static_cast<int>(p.size()));
    }
    std::vector<uint8_t> out(640);
    for (int i = 0; i < 6; ++i) {
        s.Read(out.data(), 640);
        clock.now += 50;
    }
    EXPECT_GT(s.GetEnergy(), 20);
    s.EnableCalEnergy(false);
    EXPECT_EQ(0, s.GetEnergy());
}

// A queue that stayed deep for half a minute is cut back by its lowest
// level, oldest frames first, on a net-state call with text.
TEST(RavoSource, DeepQueueIsTrimmed)
{
    FakeClock clock;
    AudioSource s(kPlayout, false, clock);
    uint32_t seq = 0;
    for (; seq <= 40; ++seq)
        Send(s, seq);
    std::vector<uint8_t> pcm(640);
    char text[NET_STATE_TEXT_MIN];
    FEC_NET_STATE state{};
    bool trimmed = false;
    for (int second = 0; second < 60 && !trimmed; ++second) {
        clock.now += 1001;
        s.Read(pcm.data(), 640); // one frame out
        Send(s, seq++);          // one frame in
        const uint32_t before = s.GetQueuedCount();
        const uint32_t oldest = s.GetQueuedSequences().front();
        ASSERT_EQ(1, s.GetNetState(&state, text, sizeof text));
        if (s.GetQueuedCount() < before) {
            trimmed = true;
            EXPECT_GE(before - s.GetQueuedCount(), 11u);
            EXPECT_GT(s.GetQueuedSequences().front(), oldest);
            EXPECT_EQ(seq - 1, s.GetQueuedSequences().back());
            EXPECT_GT(second, 30); // six checks five seconds apart
        }
    }
    EXPECT_TRUE(trimmed);
}
