#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "AudioCodec.h"
#include "AudioPacket.h"
#include "AudioProcesser.h"
#include "AudioSource.h"
#include "FecSender.h"
#include "RavoTestUtil.h"

using namespace RavoEngine;

namespace {
struct ProcessRun
{
    int result;
    uint32_t consumed;
    std::vector<uint8_t> packet;
};

ProcessRun Process(AudioProcesser& p, const int16_t* pcm, uint32_t bytes, uint32_t capacity = 1024)
{
    std::vector<uint8_t> out(capacity);
    AUDIO_STREAM_HEAD io{};
    io.input = pcm;
    io.inputLength = bytes;
    io.output = out.data();
    io.outputCapacity = capacity;
    uint32_t extra = 5;
    ProcessRun r;
    r.result = p.Process(&io, &extra);
    EXPECT_EQ(0u, extra);
    r.consumed = io.consumed;
    out.resize(io.outputLength);
    r.packet = out;
    return r;
}

uint32_t Sequence(const std::vector<uint8_t>& packet)
{
    uint8_t first;
    uint32_t seq = 0;
    AudioPacket::ReadHeader(packet.data(), packet.size(), &first, &seq);
    return seq;
}
} // namespace

TEST(RavoProcesser, PlainPacketsPerRow)
{
    const struct
    {
        int row;
        uint8_t kind;
        uint32_t frame;
    } rows[] = {{3, 6, 60}, {4, 7, 80}};
    std::vector<int16_t> tone = Tone(320 * 4, 440.0, 8000.0, 16000);
    for (const auto& r : rows) {
        SCOPED_TRACE(r.row);
        AudioProcesser p;
        ASSERT_TRUE(p.Create(r.row, nullptr));
        for (uint32_t i = 0; i < 3; ++i) {
            ProcessRun run = Process(p, tone.data() + 320 * i, 640);
            ASSERT_EQ(1, run.result);
            ASSERT_EQ(r.frame + 5, run.packet.size());
            EXPECT_EQ(r.kind, run.packet[0]);
            EXPECT_EQ(i, Sequence(run.packet));
            EXPECT_EQ(0u, run.consumed);
        }
    }
    AudioProcesser bad;
    EXPECT_FALSE(bad.Create(5, nullptr));
}

TEST(RavoProcesser, BlockSizeAndCapacity)
{
    AudioProcesser p;
    ASSERT_TRUE(p.Create(3, nullptr));
    std::vector<int16_t> tone = Tone(640, 440.0, 8000.0, 16000);
    ProcessRun shortRun = Process(p, tone.data(), 639);
    EXPECT_EQ(0, shortRun.result);
    EXPECT_EQ(0u, shortRun.consumed);
    EXPECT_TRUE(shortRun.packet.empty());
    // A longer input gives one packet from the first block only.
    ProcessRun longRun = Process(p, tone.data(), 1280);
    EXPECT_EQ(1, longRun.result);
    EXPECT_EQ(65u, longRun.packet.size());
    // Too little room for header and frame.
    EXPECT_EQ(0, Process(p, tone.data(), 640, 64).result);
    EXPECT_EQ(1, Process(p, tone.data(), 640, 65).result);
}

TEST(RavoProcesser, FecModeRestartsNumbering)
{
    AudioProcesser p;
    ASSERT_TRUE(p.Create(3, nullptr));
    std::vector<int16_t> tone = Tone(320 * 20, 440.0, 8000.0, 16000);
    for (int i = 0; i < 3; ++i)
        Process(p, tone.data(), 640);
    p.SetFECMode(2);
    EXPECT_EQ(2, p.GetFECMode());
    ProcessRun first = Process(p, tone.data(), 640);
    ASSERT_EQ(1, first.result);
    EXPECT_EQ(0x86, first.packet[0]);
    EXPECT_EQ(0u, Sequence(first.packet));
    // Too little room for the data packet and its parity gives nothing.
    for (int i = 1; i < 12; ++i)
        Process(p, tone.data(), 640);
    EXPECT_EQ(0, Process(p, tone.data(), 640, 100).result);
    p.SetFECMode(0);
    EXPECT_EQ(0x06, Process(p, tone.data(), 640).packet[0]);
}

// Packet layout per FEC mode and wideband row: byte 0 is the kind with the
// mode's code, the numbering restarts at 0, the payload is a run of FEC
// packets of frame + 4 bytes: the data packet and at most floor((n-1)/k)
// parity packets, which start once the first group is complete.
TEST(RavoProcesser, FecPacketLayoutPerMode)
{
    const struct
    {
        int mode;
        uint8_t code;
        int k;
        int perCall;
    } modes[] = {{1, 0x70, 6, 1}, {2, 0x80, 6, 2}, {3, 0x90, 8, 2}, {4, 0xA0, 16, 2}};
    const struct
    {
        int row;
        uint8_t kind;
        uint32_t frame;
    } rows[] = {{3, 6, 60}, {4, 7, 80}};
    std::vector<int16_t> tone = Tone(320 * 80, 440.0, 8000.0, 16000);
    for (const auto& r : rows) {
        for (const auto& m : modes) {
            SCOPED_TRACE(testing::Message() << "row " << r.row << " mode " << m.mode);
            AudioProcesser p;
            ASSERT_TRUE(p.Create(r.row, nullptr));
            Process(p, tone.data(), 640);
            p.SetFECMode(m.mode);
            int mostParity = 0;
            for (int i = 0; i < 80; ++i) {
                ProcessRun run = Process(p, tone.data() + 320 * i, 640);
                ASSERT_EQ(1, run.result);
                EXPECT_EQ(static_cast<uint8_t>(m.code | r.kind), run.packet[0]);
                EXPECT_EQ(static_cast<uint32_t>(i), Sequence(run.packet));
                const size_t payload = run.packet.size() - 5;
                ASSERT_EQ(0u, payload % (r.frame + 4));
                const int parity = static_cast<int>(payload / (r.frame + 4)) - 1;
                if (i < m.k) {
                    EXPECT_EQ(0, parity) << i;
                }
                mostParity = std::max(mostParity, parity);
            }
            EXPECT_EQ(m.perCall, mostParity);
        }
    }
}

TEST(RavoProcesser, AgcModes)
{
    AudioProcesser p;
    ASSERT_TRUE(p.Create(3, nullptr));
    for (int mode : {1, 2, 3}) {
        p.SetAGC(mode);
        EXPECT_EQ(mode, p.GetAGC());
        ASSERT_NE(nullptr, p.GetAgcStage());
    }
    p.SetAGC(4);
    EXPECT_EQ(0, p.GetAGC());
    EXPECT_EQ(nullptr, p.GetAgcStage());
}

namespace {
// Five seconds of loud and quiet blocks, enough to learn a threshold.
std::vector<int16_t> LoudAndQuiet(int blocks)
{
    std::vector<int16_t> pcm;
    for (int b = 0; b < blocks; ++b) {
        const double amplitude = (b / 10) % 2 ? 12000.0 : 30.0;
        std::vector<int16_t> block = Tone(320, 300.0, amplitude, 16000);
        pcm.insert(pcm.end(), block.begin(), block.end());
    }
    return pcm;
}
} // namespace

TEST(RavoProcesser, SilenceDetection)
{
    // A constant level never yields a threshold and nothing is dropped.
    AudioProcesser steady;
    ASSERT_TRUE(steady.Create(3, nullptr));
    steady.EnableSilenceDetect(true);
    std::vector<int16_t> tone = Tone(320 * 400, 300.0, 3000.0, 16000);
    for (int i = 0; i < 400; ++i)
        ASSERT_EQ(66u - 1, Process(steady, tone.data() + 320 * i, 640).packet.size()) << i;

    // After a window with dynamics, the 21st quiet block in a row is dropped.
    AudioProcesser p;
    ASSERT_TRUE(p.Create(3, nullptr));
    p.EnableSilenceDetect(true);
    std::vector<int16_t> training = LoudAndQuiet(260);
    for (int i = 0; i < 260; ++i)
        Process(p, training.data() + 320 * i, 640);
    std::vector<int16_t> quiet = Tone(320 * 25, 300.0, 30.0, 16000);
    int firstDropped = -1;
    for (int i = 0; i < 25; ++i) {
        ProcessRun run = Process(p, quiet.data() + 320 * i, 640);
        EXPECT_EQ(1, run.result);
        if (run.packet.empty() && firstDropped < 0) {
            firstDropped = i;
            EXPECT_EQ(640u, run.consumed);
        }
    }
    // The run began in the training's last quiet blocks.
    EXPECT_GE(firstDropped, 0);
    EXPECT_LE(firstDropped, 20);
}

TEST(RavoProcesser, ChainOrderTwoSkipsAgcOnSilence)
{
    AudioProcesser p;
    ASSERT_TRUE(p.Create(3, nullptr));
    p.EnableSilenceDetect(true);
    p.SetDenoiseChain(2);
    p.SetAGC(2);
    std::vector<int16_t> training = LoudAndQuiet(260);
    for (int i = 0; i < 260; ++i)
        Process(p, training.data() + 320 * i, 640);
    std::vector<int16_t> quiet = Tone(320 * 30, 300.0, 30.0, 16000);
    for (int i = 0; i < 30; ++i) {
        const int before = p.GetAgcStage()->GetFrameCount();
        ProcessRun run = Process(p, quiet.data() + 320 * i, 640);
        if (p.LastBlockSilent())
            EXPECT_EQ(before, p.GetAgcStage()->GetFrameCount());
        else
            EXPECT_EQ(before + 2, p.GetAgcStage()->GetFrameCount());
    }
    EXPECT_TRUE(p.LastBlockSilent());
}

// Denoise modes 1 and 2 (our own suppressor) and 3 (speexdsp) on the same
// noisy signal: each lowers the noise heard after decoding.
TEST(RavoProcesser, DenoiseModesOnTheSameSignal)
{
    const int blocks = 200;
    std::vector<int16_t> noise = Tone(320 * blocks, 300.0, 0.0, 16000, 1500.0, 3);
    double reduction[4] = {};
    for (int mode = 0; mode <= 3; ++mode) {
        AudioProcesser p;
        ASSERT_TRUE(p.Create(4, nullptr));
        p.SetDenoise(mode);
        EXPECT_EQ(mode, p.GetDenoise());
        AudioCodec dec;
        WAVEFORMATEX pcm;
        ASSERT_TRUE(dec.Open(4, false, &pcm));
        double in = 0.0, out = 0.0;
        for (int b = 0; b < blocks; ++b) {
            ProcessRun run = Process(p, noise.data() + 320 * b, 640);
            ASSERT_EQ(85u, run.packet.size());
            int16_t decoded[320];
            dec.Decode(run.packet.data() + 5, 80, reinterpret_cast<uint8_t*>(decoded), 640);
            if (b >= blocks - 50) {
                in += Rms(noise.data() + 320 * b, 320);
                out += Rms(decoded, 320);
            }
        }
        reduction[mode] = 20.0 * std::log10(out / in);
    }
    EXPECT_NEAR(0.0, reduction[0], 1.5);
    EXPECT_LT(reduction[1], -5.0);
    EXPECT_LT(reduction[2], reduction[1] - 3.0);
    EXPECT_LT(reduction[3], -5.0);
    printf("noise after denoise modes 0-3: %.1f %.1f %.1f %.1f dB\n", reduction[0], reduction[1],
           reduction[2], reduction[3]);
}

TEST(RavoProcesser, LevelMeterAndInputConverter)
{
    FakeClock clock;
    AudioProcesser p(clock);
    ASSERT_TRUE(p.Create(4, nullptr));
    EXPECT_EQ(0, p.GetEnergy());
    std::vector<int16_t> tone = Tone(320 * 10, 300.0, 24575.0, 16000);
    for (int i = 0; i < 10; ++i) {
        Process(p, tone.data() + 320 * i, 640);
        clock.now += 20;
    }
    // Mean absolute value of a sine is 2/pi of its peak.
    EXPECT_NEAR(63, p.GetEnergy(), 2);

    // 8000 Hz capture is brought to the codec's 16000 Hz by the compression
    // manager's PCM converter: one 20 ms block is 320 input bytes.
    AudioProcesser conv;
    const WAVEFORMATEX narrow = Pcm16(8000, 1);
    ASSERT_TRUE(conv.Create(4, &narrow));
    EXPECT_EQ(320u, conv.GetInputBlockBytes());
    std::vector<int16_t> slow = Tone(160 * 3, 300.0, 8000.0, 8000);
    EXPECT_EQ(0, Process(conv, slow.data(), 319).result);
    ProcessRun run = Process(conv, slow.data(), 320);
    EXPECT_EQ(1, run.result);
    EXPECT_EQ(85u, run.packet.size());
}

// The A-law row goes through the compression manager both ways, and the
// source converts its 8000 Hz PCM to a 16000 Hz play-out format.
TEST(RavoProcesser, AlawRowThroughTheCompressionManager)
{
    AudioProcesser p;
    ASSERT_TRUE(p.Create(2, nullptr));
    std::vector<int16_t> tone = Tone(240 * 12, 400.0, 8000.0, 8000);
    FakeClock clock;
    AudioSource s(Pcm16(16000, 1), false, clock);
    for (int i = 0; i < 12; ++i) {
        ProcessRun run = Process(p, tone.data() + 240 * i, 480);
        ASSERT_EQ(1, run.result);
        ASSERT_EQ(245u, run.packet.size());
        EXPECT_EQ(4, run.packet[0]);
        s.Insert(run.packet.data(), static_cast<int>(run.packet.size()));
    }
    // 30 ms of 8000 Hz become 960 bytes at 16000 Hz.
    std::vector<int16_t> out(480 * 4);
    s.Read(reinterpret_cast<uint8_t*>(out.data()), static_cast<int>(out.size() * 2));
    EXPECT_NEAR(8000.0 / std::sqrt(2.0), Rms(out.data() + 480, 480 * 3), 500.0);
}
