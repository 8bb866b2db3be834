// Prints: the processer's real-time factor per stream (60 s of speech-like
// audio with every stage on), the source group's with 16 sources, and what
// the noise suppression (high-pass and suppressor, as the processer runs them
// at its four levels) does to speech in white and pink noise, beside
// speexdsp's preprocessor. The packet FEC has a benchmark of its own
// (bench/fec).
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "../BenchRow.h"
#include "AudioProcesser.h"
#include "AutomaticGainControl.h"
#include "NoiseSuppressor.h"
#include "VoiceActivityDetector.h"
#include "AudioSourceGroup.h"
#include "AgcAns.h"
#include "NoiseBench.h"

using namespace SonvexFilterCore;

namespace {

const int kBlocks = 3000; // 60 s of 20 ms blocks

// Used only when the G.722.1 engine is not linked: copies the block's
// leading samples into the frame, so that every other stage runs for real.
class StandInEngine : public FrameCodecEngine
{
public:
    explicit StandInEngine(int words) : m_words(words) {}
    int Encode(const int16_t* pcm, int, uint8_t* out, int) override
    {
        memcpy(out, pcm, static_cast<size_t>(m_words) * 2);
        return m_words * 2;
    }
    int Decode(const uint8_t* frame, int, int16_t* pcm, int) override
    {
        for (int i = 0; i < 320; ++i)
            pcm[i] =
                static_cast<int16_t>(frame[2 * (i % m_words)] | frame[2 * (i % m_words) + 1] << 8);
        return 320;
    }

private:
    int m_words;
};

class StandInFactory : public FrameCodecFactory
{
public:
    FrameCodecEngine* Create(int bitRate, bool) const override
    {
        return new StandInEngine(bitRate == 24000 ? 30 : 40);
    }
};

const FrameCodecFactory* ChooseCodec(const char** label)
{
    FrameCodecEngine* e = FrameCodecFactory::G7221().Create(24000, true);
    if (e) {
        delete e;
        *label = "G.722.1 24 kbit/s";
        return &FrameCodecFactory::G7221();
    }
    static StandInFactory standIn;
    *label = "stand-in codec (G.722.1 engine not linked)";
    return &standIn;
}

std::vector<int16_t> Speech(int blocks)
{
    std::vector<int16_t> s(static_cast<size_t>(blocks) * 320);
    std::mt19937 rng(5);
    std::normal_distribution<double> noise(0.0, 200.0);
    double phase = 0;
    for (size_t n = 0; n < s.size(); ++n) {
        double t = n / 16000.0;
        double f0 = 130 + 50 * std::sin(2 * 3.14159265 * 0.6 * t);
        phase += 2 * 3.14159265 * f0 / 16000.0;
        double v = 0;
        for (int h = 1; h <= 15; ++h)
            v += std::sin(h * phase) / h;
        double env = 0.5 + 0.5 * std::sin(2 * 3.14159265 * 3.0 * t);
        if (std::fmod(t, 4.0) > 3.0)
            env = 0.0; // a pause every four seconds
        s[n] = static_cast<int16_t>(
            std::max(-32768.0, std::min(32767.0, 5000 * env * v + noise(rng))));
    }
    return s;
}

double ThreadSeconds()
{
    FILETIME c, e, k, u;
    GetThreadTimes(GetCurrentThread(), &c, &e, &k, &u);
    ULARGE_INTEGER ku, uu;
    ku.LowPart = k.dwLowDateTime;
    ku.HighPart = k.dwHighDateTime;
    uu.LowPart = u.dwLowDateTime;
    uu.HighPart = u.dwHighDateTime;
    return (ku.QuadPart + uu.QuadPart) / 1e7;
}

double WallSeconds()
{
    LARGE_INTEGER f, t;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(f.QuadPart);
}

struct Packet
{
    uint32_t sequence;
    std::vector<uint8_t> bytes;
};

std::vector<Packet> RunProcesser(const FrameCodecFactory* codec, const std::vector<int16_t>& pcm,
                                 double* cpu, double* wall)
{
    AudioProcesser p(nullptr, codec);
    p.SetParam(AudioProcesser::PARAM_CODEC, 6);
    p.SetParam(AudioProcesser::PARAM_FEC_MODE, 2);
    p.SetParam(AudioProcesser::PARAM_NOISE_SUPPRESSION, 2);
    p.SetParam(AudioProcesser::PARAM_AGC, 1);
    p.SetParam(AudioProcesser::PARAM_SILENCE_DROP, 1);
    p.SetParam(AudioProcesser::PARAM_METER, 1);
    std::vector<int16_t> block(320);
    std::vector<uint8_t> out(2048);
    std::vector<Packet> packets;
    uint32_t seq = 1;
    double c0 = ThreadSeconds(), w0 = WallSeconds();
    for (int b = 0; b < kBlocks; ++b) {
        memcpy(block.data(), &pcm[static_cast<size_t>(b) * 320], 640);
        AUDIO_STREAM_HEAD h = {block.data(), 640, 0, out.data(), 2048, 0};
        p.Process(&h);
        if (h.outputLength)
            packets.push_back(
                {seq++, std::vector<uint8_t>(out.begin(), out.begin() + h.outputLength)});
    }
    *cpu = ThreadSeconds() - c0;
    *wall = WallSeconds() - w0;
    return packets;
}

// CPU microseconds per 20 ms block of each stage alone, on the same speech.
void StageCosts(const FrameCodecFactory* codec, const std::vector<int16_t>& pcm)
{
    const int blocks = kBlocks / 3;
    std::vector<int16_t> work(320);
    std::vector<uint8_t> frame(256);
    auto perBlock = [&](double seconds) { return seconds * 1e6 / blocks; };
    VoiceActivityDetector vad;
    double t0 = ThreadSeconds();
    int voiced = 0;
    for (int b = 0; b < blocks; ++b)
        voiced += vad.IsVoice(&pcm[static_cast<size_t>(b) * 320], 320);
    double vadCost = perBlock(ThreadSeconds() - t0);
    NoiseSuppressor ns(16000, 320, 1);
    t0 = ThreadSeconds();
    for (int b = 0; b < blocks; ++b)
        ns.Process(&pcm[static_cast<size_t>(b) * 320], work.data(), 320);
    double nsCost = perBlock(ThreadSeconds() - t0);
    AutomaticGainControl agc(16000, 320, -10.0, -4.0, 14.0);
    t0 = ThreadSeconds();
    for (int b = 0; b < blocks; ++b) {
        memcpy(work.data(), &pcm[static_cast<size_t>(b) * 320], 640);
        agc.Process(work.data());
    }
    double agcCost = perBlock(ThreadSeconds() - t0);
    double codecCost = 0;
    if (FrameCodecEngine* e = codec->Create(24000, true)) {
        t0 = ThreadSeconds();
        for (int b = 0; b < blocks; ++b)
            e->Encode(&pcm[static_cast<size_t>(b) * 320], 320, frame.data(), 256);
        codecCost = perBlock(ThreadSeconds() - t0);
        delete e;
    }
    // The reference in the same process: speexdsp's preprocessor (denoise
    // only, as the noise benchmark runs it) over the same blocks.
    const std::vector<int16_t> head(pcm.begin(),
                                    pcm.begin() + static_cast<ptrdiff_t>(blocks) * 320);
    t0 = ThreadSeconds();
    BenchMeasure::NoiseBench::Speex(head, 16000);
    double speexCost = perBlock(ThreadSeconds() - t0);
    printf("stage costs, CPU us per 20 ms block: voice detection %.1f (%d voiced), noise "
           "suppression %.1f, gain control %.1f, encoding %.1f; speexdsp's denoise %.1f\n",
           vadCost, voiced, nsCost, agcCost, codecCost, speexCost);
}

void GroupBench(const FrameCodecFactory* codec, const std::vector<Packet>& packets)
{
    const int sources = 16;
    AudioSourceGroup group(16000, codec);
    for (int s = 0; s < sources; ++s)
        group.AddSource(static_cast<uint32_t>(s + 1));
    group.EnableCalEnergy(1);
    std::vector<uint8_t> mix(640);
    // Each 20 ms: every source receives the packets due by then, then one block is mixed.
    size_t next = 0;
    double c0 = ThreadSeconds(), w0 = WallSeconds();
    for (int b = 0; b < kBlocks; ++b) {
        while (next < packets.size() && next * 2 <= static_cast<size_t>(b)) {
            for (int s = 0; s < sources; ++s)
                group.WriteSource(static_cast<uint32_t>(s + 1), packets[next].sequence,
                                  const_cast<uint8_t*>(packets[next].bytes.data()),
                                  static_cast<uint32_t>(packets[next].bytes.size()));
            ++next;
        }
        group.ReadData(mix.data(), 640);
    }
    double cpu = ThreadSeconds() - c0, wall = WallSeconds() - w0;
    printf("source group, %d sources: %.1f s of audio per CPU second (%.1f per wall second)\n",
           sources, 60.0 / std::max(cpu, 1e-6), 60.0 / std::max(wall, 1e-6));
}

std::vector<int16_t> RunAgcAns(const std::vector<int16_t>& input, int level)
{
    AgcAns agcAns;
    agcAns.init(16000, 20, true, false);
    agcAns.init_ans(level);
    std::vector<int16_t> out(input);
    for (size_t at = 0; at + 320 <= out.size(); at += 320)
        agcAns.process_frame(&out[at], &out[at], 320);
    return out;
}

void NoiseSuppression()
{
    std::vector<BenchMeasure::NoiseBench::Suppressor> suppressors;
    for (int level = 1; level <= 4; ++level) {
        char name[64];
        snprintf(name, sizeof name, "processer NS %d (floor %.0f dB)", level,
                 -(9 + 3.01 * (level - 1)));
        suppressors.push_back(
            {name, [level](const std::vector<int16_t>& in) { return RunAgcAns(in, level - 1); }});
    }
    BenchMeasure::NoiseBench::Run("SonvexFilter", 16000, suppressors);
}

} // namespace

int main()
{
    const char* label = "";
    const FrameCodecFactory* codec = ChooseCodec(&label);
    std::vector<int16_t> pcm = Speech(kBlocks);
    printf("codec: %s\n", label);
    double cpu = 0, wall = 0;
    std::vector<Packet> packets = RunProcesser(codec, pcm, &cpu, &wall);
    printf(
        "processer (silence drop, NS 2, AGC 1, meter, FEC mode 2): %.1f s of audio per CPU second "
        "(%.1f per wall second), %zu packets\n",
        60.0 / std::max(cpu, 1e-6), 60.0 / std::max(wall, 1e-6), packets.size());
    BenchRow("SonvexFilter processer, every stage on", 60.0 / std::max(cpu, 1e-6), 1.0,
             "x real time", ">=", 200.0);
    StageCosts(codec, pcm);
    GroupBench(codec, packets);
    NoiseSuppression();
    return 0;
}
