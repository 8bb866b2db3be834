#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "AecProcessor.h"
#include "DcHighPass.h"
#include "FakeMixerApi.h"
#include "SyntheticRoom.h"

using namespace SonvexDevice;

using namespace SyntheticRoom;

namespace {
struct Delivery
{
    uint32_t sequence;
    std::vector<int16_t> pcm;
};

struct Collector
{
    std::vector<Delivery> blocks;
    static void __cdecl Callback(void* context, CAudioBlock* header, short* pcm, int length)
    {
        Collector* self = static_cast<Collector*>(context);
        self->blocks.push_back({header->m_sequence, std::vector<int16_t>(pcm, pcm + length / 2)});
    }
};

// Hands a block to an input the way a device does, keeping the spare it gets back.
class Device
{
public:
    explicit Device(int kind) : m_kind(kind), m_block(new CAudioBlock(640)) {}
    ~Device() { delete m_block; }
    void Hand(AecProcessor& proc, const int16_t* samples, uint32_t time)
    {
        memcpy(m_block->m_data, samples, 640);
        m_block->Stamp(m_kind, m_sequence++, time);
        if (m_kind == CAudioBlock::KIND_NEAR)
            proc.NearInput(&m_block);
        else
            proc.FarInput(&m_block);
        ASSERT_NE(nullptr, m_block);
        ASSERT_EQ(640u, m_block->m_length);
    }

private:
    int m_kind;
    CAudioBlock* m_block;
    uint32_t m_sequence = 0;
};

std::vector<int16_t> Block(uint32_t seed)
{
    std::vector<int16_t> pcm = ToPcm(Noise(320, 3000.0, seed + 11));
    return pcm;
}
} // namespace

TEST(AecProcessor, OnlyTheBlockFormatOfTheLibraryIsAccepted)
{
    FakeMixerApi mixer;
    struct Case
    {
        int rate, ms;
        bool ok;
    } cases[] = {{16000, 20, true}, {8000, 20, false}, {16000, 10, false}, {48000, 20, false}};
    for (const Case& c : cases) {
        AecProcessor proc(mixer);
        EXPECT_EQ(c.ok, proc.init(c.rate, c.ms));
        EXPECT_EQ(c.ok, proc.IsReady());
    }
    // A processor that is not ready passes nothing and leaves the block alone.
    AecProcessor proc(mixer);
    Collector collector;
    proc.SetCallback(&Collector::Callback, &collector);
    CAudioBlock* block = new CAudioBlock(640);
    CAudioBlock* before = block;
    proc.NearInput(&block);
    EXPECT_EQ(before, block);
    EXPECT_TRUE(collector.blocks.empty());
    delete block;
}

// Capture without playback: every block is processed against noise and
// reaches the caller in order, one block behind its header, whatever
// resynchronisation asks for.
TEST(AecProcessor, NearEndAloneStaysInOrderThroughDrops)
{
    FakeMixerApi mixer;
    for (bool aec : {false, true}) {
        AecProcessor proc(mixer);
        ASSERT_TRUE(proc.init(16000, 20));
        proc.SetAEC(aec);
        proc.SetVolumeControl(0);
        Collector collector;
        proc.SetCallback(&Collector::Callback, &collector);
        Device mic(CAudioBlock::KIND_NEAR);
        DcHighPass reference;
        std::vector<std::vector<int16_t>> filtered;
        for (uint32_t k = 0; k < 40; ++k) {
            if (k == 12 || k == 25)
                proc.RequestResync(+1);
            if (k == 18)
                proc.RequestResync(-1); // no farPcm end to drop: nothing changes
            std::vector<int16_t> pcm = Block(k);
            mic.Hand(proc, pcm.data(), 1000 + 20 * k);
            reference.Run(pcm.data(), 320);
            filtered.push_back(pcm);
        }
        // Every block but the newest two (still paired) was delivered once.
        ASSERT_GE(collector.blocks.size(), 37u) << "aec " << aec;
        for (size_t i = 1; i < collector.blocks.size(); ++i) {
            const Delivery& d = collector.blocks[i];
            EXPECT_GT(d.sequence, collector.blocks[i - 1].sequence);
            if (!aec) {
                // The header's block arrives with the next delivery.
                ASSERT_GE(d.sequence, 1u);
                EXPECT_EQ(filtered[d.sequence - 1], d.pcm) << "delivery " << i;
            }
        }
        if (!aec) {
            std::vector<uint32_t> order;
            for (const Delivery& d : collector.blocks)
                order.push_back(d.sequence);
            for (size_t i = 1; i < order.size(); ++i)
                EXPECT_EQ(order[i - 1] + 1, order[i]) << "no block lost or repeated";
        }
    }
}

TEST(AecProcessor, SilenceToBePlayedIsDithered)
{
    FakeMixerApi mixer;
    AecProcessor proc(mixer);
    ASSERT_TRUE(proc.init(16000, 20));
    int nonZero = 0;
    for (int b = 0; b < 5; ++b) {
        std::vector<int16_t> pcm(320, 0);
        proc.FarReference(pcm.data(), 640);
        for (int16_t s : pcm) {
            nonZero += s != 0;
            EXPECT_LE(std::abs(s), 40);
        }
    }
    EXPECT_GT(nonZero, 5 * 320 / 2);
    // Sound is only high-passed.
    std::vector<int16_t> tone = Sine(320, 16000, 1000.0, 8000.0);
    std::vector<int16_t> expect = tone;
    DcHighPass filter;
    filter.Run(expect.data(), 320);
    AecProcessor fresh(mixer);
    ASSERT_TRUE(fresh.init(16000, 20));
    fresh.FarReference(tone.data(), 640);
    EXPECT_EQ(expect, tone);
}

namespace {
double Residual(const std::vector<int16_t>& out, const std::vector<int16_t>& talk, size_t from,
                size_t count, int* lagFound)
{
    // Near-end talk comes out delayed by the pairing: find the lag, then
    // measure what differs from it.
    double best = -1e300;
    int bestLag = 0;
    for (int lag = 0; lag <= 1000; lag += 1) {
        double sum = 0.0;
        for (size_t i = from; i < from + count; i += 4)
            sum += double(out[i]) * talk[i - lag];
        if (sum > best) {
            best = sum;
            bestLag = lag;
        }
    }
    *lagFound = bestLag;
    std::vector<double> diff(count);
    for (size_t i = 0; i < count; ++i)
        diff[i] = double(out[from + i]) - talk[from + i - bestLag];
    return EnergyDb(diff, 0, count);
}

// Runs the front end with echo cancelling on as the devices drive it: each
// played block, then the captured block of the same time. The output is as
// long as the microphone signal.
void RunFrontEnd(const std::vector<int16_t>& farPcm, const std::vector<int16_t>& mic,
                 std::vector<int16_t>* out)
{
    const int n = static_cast<int>(mic.size());
    FakeMixerApi mixer;
    AecProcessor proc(mixer);
    ASSERT_TRUE(proc.init(16000, 20));
    proc.SetAEC(1);
    Collector collector;
    proc.SetCallback(&Collector::Callback, &collector);
    Device speaker(CAudioBlock::KIND_FAR), microphone(CAudioBlock::KIND_NEAR);
    for (int k = 0; k < n / 320; ++k) {
        speaker.Hand(proc, &farPcm[k * 320], 1000 + 20 * k);
        microphone.Hand(proc, &mic[k * 320], 1000 + 20 * k);
    }
    out->clear();
    for (const Delivery& d : collector.blocks)
        out->insert(out->end(), d.pcm.begin(), d.pcm.end());
    ASSERT_GE(out->size(), size_t(n - 1280));
    out->resize(n, 0);
}
} // namespace

// Far end played into a synthetic room and captured back, block by block as
// the devices hand them over: the echo is cancelled once the canceller has
// converged, and near-end speech survives double talk.
TEST(AecProcessor, CancelsRoomEchoAndKeepsDoubleTalk)
{
    const int seconds = 10, n = 16000 * seconds;
    std::vector<double> farSignal = SpeechLike(n, 1);
    std::vector<double> echo =
        Convolve(farSignal, ImpulseResponse(16000, 5.0, 150.0, 300.0, 0.5, 7));
    std::vector<double> talk(n, 0.0), voice = SpeechLike(n, 2, 6000.0);
    for (int i = 7 * 16000; i < n; ++i)
        talk[i] = voice[i];
    std::vector<int16_t> farPcm = ToPcm(farSignal),
                         mic = ToPcm(Sum(Sum(echo, talk), Noise(n, 10.0, 3)));
    // The talker as the canceller's output should carry it: high-passed by
    // the front end and again by the core.
    std::vector<int16_t> talkPcm = ToPcm(talk);
    DcHighPass frontEnd, core;
    frontEnd.Run(talkPcm.data(), n);
    core.Run(talkPcm.data(), n);

    std::vector<int16_t> out;
    ASSERT_NO_FATAL_FAILURE(RunFrontEnd(farPcm, mic, &out));

    // Far end alone, seconds 5 to 7: the echo is at least 20 dB down.
    const double erle =
        EnergyDb(mic, 5 * 16000, 2 * 16000) - EnergyDb(out, 5 * 16000 + 320, 2 * 16000);
    EXPECT_GT(erle, 20.0);
    // Double talk, seconds 8 to 10: the talker is there at full level, and
    // what differs from it (residual echo, distortion) is well below it.
    int lag = 0;
    const size_t from = 8 * 16000, count = 2 * 16000 - 1000;
    const double talkDb = EnergyDb(talkPcm, from - 320, count);
    const double residualDb = Residual(out, talkPcm, from, count, &lag);
    EXPECT_NEAR(talkDb, EnergyDb(out, from, count), 3.0);
    EXPECT_GT(talkDb - residualDb, 6.0) << "lag " << lag;
    // One block of pairing and the filter banks' 353 samples.
    EXPECT_NEAR(320 + 353, lag, 2);
}

// Long room responses are convolved through the transform; they must give
// what the plain sum gives.
TEST(SyntheticRoom, LongResponsesConvolveAsThePlainSum)
{
    const std::vector<double> x = SpeechLike(3000, 4);
    for (double lengthMs : {3.0, 40.0}) {
        const std::vector<double> h = ImpulseResponse(16000, 1.0, 20.0, lengthMs, 0.5, 9);
        const std::vector<double> y = Convolve(x, h);
        ASSERT_EQ(x.size(), y.size());
        for (size_t n = 0; n < x.size(); ++n) {
            double sum = 0.0;
            for (size_t k = 0; k < h.size() && k <= n; ++k)
                sum += h[k] * x[n - k];
            ASSERT_NEAR(sum, y[n], 1e-6) << "response of " << h.size() << " taps, sample " << n;
        }
    }
}

// A reverberant room whose tail outlasts the 128 ms the canceller models:
// once it has settled, the echo of the far end alone is at least 25 dB down.
TEST(AecProcessor, CancelsTheEchoOfAReverberantRoom)
{
    const int seconds = 8, n = 16000 * seconds;
    std::vector<double> farSignal = SpeechLike(n, 1);
    std::vector<double> echo =
        Convolve(farSignal, ImpulseResponse(16000, 10.0, 300.0, 400.0, 0.5, 7));
    std::vector<int16_t> farPcm = ToPcm(farSignal), mic = ToPcm(Sum(echo, Noise(n, 10.0, 3)));
    std::vector<int16_t> out;
    ASSERT_NO_FATAL_FAILURE(RunFrontEnd(farPcm, mic, &out));
    // Seconds 5 to 7; the output comes a block late.
    const double erle =
        EnergyDb(mic, 5 * 16000, 2 * 16000) - EnergyDb(out, 5 * 16000 + 320, 2 * 16000);
    EXPECT_GT(erle, 25.0);
}

namespace {
std::vector<int16_t> Square(double dbfs)
{
    const int16_t a = static_cast<int16_t>(32767 * std::pow(10.0, dbfs / 20.0));
    std::vector<int16_t> pcm(320);
    for (int i = 0; i < 320; ++i)
        pcm[i] = (i / 20) % 2 ? a : -a;
    return pcm;
}
} // namespace

TEST(AecProcessor, MicrophoneVolumeFollowsTheTalkerAndIsRestored)
{
    FakeMixerApi mixer;
    AecProcessor proc(mixer);
    ASSERT_TRUE(proc.init(16000, 20));
    ASSERT_EQ(1, proc.OpenCaptureVolume(0));
    Device mic(CAudioBlock::KIND_NEAR);
    uint32_t time = 1000;
    auto volume = [&] { return mixer.values[FakeMixerApi::MIC_VOLUME][0]; };

    // Loud: each loud block takes the microphone down by three steps of 192
    // at once (blocks are processed two behind the newest).
    std::vector<int16_t> loud = Square(-0.5);
    std::vector<int16_t> quiet = ToPcm(SpeechLike(16000 * 4, 5, 2500.0));
    for (int k = 0; k < 3; ++k)
        mic.Hand(proc, loud.data(), time += 20);
    EXPECT_EQ(30000u - 576u, volume());
    for (int k = 0; k < 2; ++k)
        mic.Hand(proc, &quiet[k * 320], time += 20);
    EXPECT_EQ(30000u - 3 * 576u, volume());

    // Quiet speech with the far end silent: once the peak of the loud part
    // has decayed, raised by three units or a little more after a while,
    // never at once.
    DWORD last = volume();
    int lastCut = 0, gap = -1;
    for (int blocks = 2; blocks < 200 && gap < 0; ++blocks) {
        mic.Hand(proc, &quiet[blocks * 320], time += 20);
        if (volume() < last)
            lastCut = blocks;
        else if (volume() > last) {
            // A step waits for the library's shared step counter, so the
            // raise may have grown meanwhile: 576 to 768, in whole units.
            EXPECT_GE(volume() - last, 576u);
            EXPECT_LE(volume() - last, 768u);
            EXPECT_EQ(0u, (volume() - last) % 192);
            gap = blocks - lastCut;
        }
        last = volume();
    }
    EXPECT_GE(gap, 12);

    // Stopping capture sets the microphone back to where the user had it.
    proc.CloseCaptureVolume();
    EXPECT_EQ(30000u, volume());

    // Unless the user moved it meanwhile: that choice stays.
    ASSERT_EQ(1, proc.OpenCaptureVolume(0));
    for (int k = 0; k < 3; ++k)
        mic.Hand(proc, loud.data(), time += 20);
    EXPECT_LT(volume(), 30000u);
    mixer.values[FakeMixerApi::MIC_VOLUME] = {12345};
    proc.CloseCaptureVolume();
    EXPECT_EQ(12345u, volume());

    // A volume farPcm down is brought up to the usable range at once.
    mixer.values[FakeMixerApi::MIC_VOLUME] = {1000};
    ASSERT_EQ(1, proc.OpenCaptureVolume(0));
    mic.Hand(proc, quiet.data(), time += 20);
    EXPECT_GE(volume(), 5631u);

    // When that raise is the only change, it too goes back on close.
    AecProcessor fresh(mixer);
    ASSERT_TRUE(fresh.init(16000, 20));
    mixer.values[FakeMixerApi::MIC_VOLUME] = {1000};
    ASSERT_EQ(1, fresh.OpenCaptureVolume(0));
    Device mic2(CAudioBlock::KIND_NEAR);
    for (int k = 0; k < 3; ++k)
        mic2.Hand(fresh, &quiet[k * 320], time += 20);
    EXPECT_EQ(5631u, volume());
    fresh.CloseCaptureVolume();
    EXPECT_EQ(1000u, volume());
}
