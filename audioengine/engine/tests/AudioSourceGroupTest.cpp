#include <gtest/gtest.h>

#include <cstring>
#include <thread>
#include <vector>

#include "AudioCodec.h"
#include "AudioSourceGroup.h"
#include "RavoTestUtil.h"

using namespace RavoEngine;

namespace {
std::vector<std::vector<uint8_t>> Coded(int frames, double frequency, double amplitude)
{
    AudioCodec enc;
    WAVEFORMATEX pcm;
    EXPECT_TRUE(enc.Open(4, true, &pcm));
    std::vector<int16_t> tone = Tone(320 * frames, frequency, amplitude, 16000);
    std::vector<std::vector<uint8_t>> out;
    for (int i = 0; i < frames; ++i) {
        std::vector<uint8_t> f(80);
        enc.Encode(reinterpret_cast<const uint8_t*>(tone.data() + 320 * i), 640, f.data(), 80);
        out.push_back(f);
    }
    return out;
}

void Feed(AudioSourceGroup& g, uint32_t id, const std::vector<std::vector<uint8_t>>& frames)
{
    for (uint32_t i = 0; i < frames.size(); ++i) {
        const std::vector<uint8_t> p = MakePacket(7, i, frames[i]);
        g.WriteSource(id, p.data(), static_cast<int>(p.size()));
    }
}

std::vector<int16_t> ReadSamples(AudioSourceGroup& g, int samples)
{
    std::vector<int16_t> out(static_cast<size_t>(samples));
    EXPECT_EQ(samples * 2, g.ReadData(reinterpret_cast<uint8_t*>(out.data()), samples * 2));
    return out;
}
} // namespace

TEST(RavoSourceGroup, SourcesByIdAndClose)
{
    FakeClock clock;
    AudioSourceGroup g(Pcm16(16000, 1), "NoSuchPlugin.dll", clock);
    EXPECT_TRUE(g.AddSource(1));
    EXPECT_TRUE(g.AddSource(2));
    EXPECT_FALSE(g.AddSource(1));
    EXPECT_TRUE(g.SourceExists(2));
    EXPECT_TRUE(g.RemoveSource(2));
    EXPECT_FALSE(g.RemoveSource(2));
    EXPECT_FALSE(g.SourceExists(2));
    const std::vector<uint8_t> p = MakePacket(7, 1, std::vector<uint8_t>(80, 1));
    EXPECT_TRUE(g.WriteSource(1, p.data(), static_cast<int>(p.size())));
    EXPECT_FALSE(g.WriteSource(9, p.data(), static_cast<int>(p.size())));
    g.SetSourceVolume(1, 30);
    EXPECT_EQ(30, g.GetSourceVolume(1));
    EXPECT_EQ(0, g.GetSourceVolume(9));
    EXPECT_EQ(0, g.GetSourceEnergy(1)); // switched on by the call
    g.Close();
    EXPECT_FALSE(g.AddSource(3));
    EXPECT_EQ(0u, g.GetSourceCount());
    uint8_t buffer[64];
    EXPECT_EQ(0, g.ReadData(buffer, 64));
}

TEST(RavoSourceGroup, MixesSourcesAndTheLocalSource)
{
    FakeClock clock;
    AudioSourceGroup g(Pcm16(16000, 1), "NoSuchPlugin.dll", clock);
    const auto a = Coded(12, 300.0, 6000.0);
    const auto b = Coded(12, 700.0, 6000.0);
    g.AddSource(1);
    Feed(g, 1, a);
    std::vector<int16_t> onlyA = ReadSamples(g, 320 * 4);

    AudioSourceGroup g2(Pcm16(16000, 1), "NoSuchPlugin.dll", clock);
    g2.AddSource(1);
    g2.AddSource(2);
    Feed(g2, 1, a);
    Feed(g2, 2, b);
    std::vector<int16_t> both = ReadSamples(g2, 320 * 4);
    AudioSourceGroup g3(Pcm16(16000, 1), "NoSuchPlugin.dll", clock);
    g3.AddSource(2);
    Feed(g3, 2, b);
    std::vector<int16_t> onlyB = ReadSamples(g3, 320 * 4);
    for (size_t i = 0; i < both.size(); ++i)
        ASSERT_EQ(std::max(-32767, std::min(32767, onlyA[i] + onlyB[i])), both[i]) << i;

    // The local source joins the mix only when enabled.
    AudioSourceGroup g4(Pcm16(16000, 1), "NoSuchPlugin.dll", clock);
    for (uint32_t i = 0; i < a.size(); ++i) {
        const std::vector<uint8_t> p = MakePacket(7, i, a[i]);
        g4.WriteLocal(p.data(), static_cast<int>(p.size()));
    }
    EXPECT_EQ(0.0, Rms(ReadSamples(g4, 640).data(), 640));
    g4.EnableLocal(true);
    EXPECT_GT(Rms(ReadSamples(g4, 640).data(), 640), 1000.0);
}

TEST(RavoSourceGroup, StereoThroughThePlugin)
{
    FakeClock clock;
    const auto a = Coded(12, 300.0, 6000.0);
    // With the stand-in plug-in the group mixes mono and the plug-in makes
    // stereo: left the mix, right the mix at half level.
    AudioSourceGroup g(Pcm16(16000, 2), EnhancePlugin::DEFAULT_LIBRARY, clock);
    ASSERT_TRUE(g.IsPluginActive());
    EXPECT_EQ(1, g.GetWorkingFormat().nChannels);
    g.AddSource(1);
    Feed(g, 1, a);
    std::vector<int16_t> stereo = ReadSamples(g, 640 * 2);

    AudioSourceGroup mono(Pcm16(16000, 1), "NoSuchPlugin.dll", clock);
    mono.AddSource(1);
    Feed(mono, 1, a);
    std::vector<int16_t> ref = ReadSamples(mono, 640);
    for (size_t i = 0; i < ref.size(); ++i) {
        ASSERT_EQ(ref[i], stereo[2 * i]) << i;
        ASSERT_EQ(ref[i] / 2, stereo[2 * i + 1]) << i;
    }

    // Without the library the group works in the caller's stereo format.
    AudioSourceGroup plain(Pcm16(16000, 2), "NoSuchPlugin.dll", clock);
    EXPECT_FALSE(plain.IsPluginActive());
    EXPECT_EQ(2, plain.GetWorkingFormat().nChannels);
    // A mono group never loads it.
    AudioSourceGroup monoGroup(Pcm16(16000, 1), EnhancePlugin::DEFAULT_LIBRARY, clock);
    EXPECT_FALSE(monoGroup.IsPluginActive());
}

TEST(RavoSourceGroup, GroupLevelMeter)
{
    FakeClock clock;
    AudioSourceGroup g(Pcm16(16000, 1), "NoSuchPlugin.dll", clock);
    EXPECT_EQ(0, g.GetEnergy());
    g.AddSource(1);
    Feed(g, 1, Coded(12, 300.0, 20000.0));
    for (int i = 0; i < 5; ++i) {
        ReadSamples(g, 320);
        clock.now += 60;
    }
    EXPECT_GT(g.GetEnergy(), 20);
    FEC_NET_STATE state{};
    EXPECT_EQ(1, g.GetNetState(1, &state, nullptr, 0));
    EXPECT_EQ(0, g.GetNetState(2, &state, nullptr, 0));
}

// A network thread writes while a play thread reads and mixes.
TEST(RavoSourceGroup, WriterAndReaderThreads)
{
    AudioSourceGroup g(Pcm16(16000, 1), "NoSuchPlugin.dll");
    g.AddSource(1);
    g.AddSource(2);
    const auto frames = Coded(20, 300.0, 6000.0);
    std::thread writer([&] {
        for (uint32_t i = 0; i < 400; ++i) {
            const std::vector<uint8_t>& f = frames[i % frames.size()];
            const std::vector<uint8_t> p = MakePacket(7, i, f);
            g.WriteSource(1 + i % 2, p.data(), static_cast<int>(p.size()));
            g.WriteLocal(p.data(), static_cast<int>(p.size()));
        }
    });
    std::thread reader([&] {
        std::vector<uint8_t> pcm(640);
        for (int i = 0; i < 400; ++i)
            EXPECT_EQ(640, g.ReadData(pcm.data(), 640));
    });
    writer.join();
    reader.join();
    FEC_NET_STATE state{};
    ASSERT_EQ(1, g.GetNetState(2, &state, nullptr, 0));
    EXPECT_EQ(399u, state.lastSequence);
}
