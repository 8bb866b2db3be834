#include "NoiseBench.h"

#include <cmath>
#include <cstdio>

#include <speex/speex_preprocess.h>

#include "../BenchRow.h"
#include "SpeechSignals.h"
#include "SuppressionScore.h"

namespace BenchMeasure {

namespace {
const int kMaxDelay = 1200; // samples

struct Condition
{
    const char* noise;
    double snrDb;
};
const Condition kConditions[] = {{"white", 5.0}, {"white", 15.0}, {"pink", 5.0}, {"pink", 15.0}};
const int kConditionCount = 4;

void PrintFigures(const char* name, const SuppressionFigures& f)
{
    if (!f.valid) {
        printf("  %-38s  (no speech left in the output to measure)\n", name);
        return;
    }
    printf("  %-38s %8.1f %9.1f %9.1f %9.1f %7d\n", name, f.snrOutDb, f.snrGainDb, f.noiseRemovedDb,
           f.speechChangeDb, f.delay);
}

struct Sums
{
    double gain = 0, removed = 0, change = 0;
    int valid = 0;
    void Add(const SuppressionFigures& f)
    {
        if (!f.valid)
            return;
        gain += f.snrGainDb;
        removed += f.noiseRemovedDb;
        change += std::fabs(f.speechChangeDb);
        ++valid;
    }
};
} // namespace

std::vector<int16_t> NoiseBench::Speex(const std::vector<int16_t>& input, int rate)
{
    const int frame = rate / 50;
    std::vector<int16_t> out(input);
    SpeexPreprocessState* state = speex_preprocess_state_init(frame, rate);
    if (!state)
        return out;
    int on = 1, off = 0;
    speex_preprocess_ctl(state, SPEEX_PREPROCESS_SET_DENOISE, &on);
    speex_preprocess_ctl(state, SPEEX_PREPROCESS_SET_AGC, &off);
    // Its VAD is off from the start (asking again only prints a warning).
    for (size_t at = 0; at + frame <= out.size(); at += frame)
        speex_preprocess_run(state, &out[at]);
    speex_preprocess_state_destroy(state);
    return out;
}

void NoiseBench::Run(const char* title, int rate, const std::vector<Suppressor>& suppressors)
{
    std::string source;
    const std::vector<double> speech = SpeechSignals::Speech(rate, 20.0, &source);
    const int frame = rate / 50;
    // The first half lets every suppressor learn the noise; the second half
    // (the same speech again, where spoken speech is repeated) is counted.
    const size_t from = speech.size() / 2 / frame * frame;
    printf("\n%s: noise suppression of %.1f s of speech at %d Hz, counted from %.1f s\n", title,
           static_cast<double>(speech.size()) / rate, rate, static_cast<double>(from) / rate);
    printf("speech: %s\n", source.c_str());
    printf(
        "SNR: speech power of active 20 ms frames less the noise, over the noise power in pauses\n"
        "(frames 60 dB below the loud ones, 100 ms from any speech). SNR gain = noise removed in\n"
        "pauses + change of speech level; a suppressor that lowers the talker with the noise "
        "gains\n"
        "nothing. Delay: samples the output lags the input.\n");

    std::vector<Sums> sums(suppressors.size());
    Sums speexSums;
    for (int c = 0; c < kConditionCount; ++c) {
        const Condition& condition = kConditions[c];
        const std::vector<double> raw = condition.noise[0] == 'w'
                                            ? SpeechSignals::WhiteNoise(speech.size(), 11 + c)
                                            : SpeechSignals::PinkNoise(speech.size(), rate, 11 + c);
        const std::vector<double> noise =
            SpeechSignals::ScaleNoise(speech, raw, rate, condition.snrDb);
        std::vector<double> mixed(speech.size());
        for (size_t i = 0; i < mixed.size(); ++i)
            mixed[i] = speech[i] + noise[i];
        const std::vector<int16_t> input = SpeechSignals::ToPcm(mixed);

        char heading[64];
        snprintf(heading, sizeof heading, "%s noise at %.0f dB", condition.noise, condition.snrDb);
        printf("\n%-40s %8s %9s %9s %9s %7s\n", heading, "SNR out", "SNR gain", "removed", "speech",
               "delay");
        const SuppressionFigures reference =
            SuppressionScore::Measure(speech, noise, Speex(input, rate), rate, from, kMaxDelay);
        PrintFigures("speexdsp preprocessor (reference)", reference);
        speexSums.Add(reference);
        for (size_t s = 0; s < suppressors.size(); ++s) {
            const SuppressionFigures f = SuppressionScore::Measure(
                speech, noise, suppressors[s].run(input), rate, from, kMaxDelay);
            PrintFigures(suppressors[s].name.c_str(), f);
            sums[s].Add(f);
        }
    }

    printf("\nmeans over the four noises (speech change as a magnitude), dB:\n");
    printf("  %-38s %9s %9s %9s\n", "", "SNR gain", "removed", "|speech|");
    auto line = [](const char* name, const Sums& s) {
        if (s.valid)
            printf("  %-38s %9.1f %9.1f %9.1f\n", name, s.gain / s.valid, s.removed / s.valid,
                   s.change / s.valid);
        else
            printf("  %-38s  (no figures)\n", name);
    };
    line("speexdsp preprocessor (reference)", speexSums);
    for (size_t s = 0; s < suppressors.size(); ++s)
        line(suppressors[s].name.c_str(), sums[s]);
    if (!speexSums.valid)
        return;
    const double n = speexSums.valid;
    for (size_t s = 0; s < suppressors.size(); ++s) {
        if (!sums[s].valid)
            continue;
        const double m = sums[s].valid;
        char row[160];
        snprintf(row, sizeof row, "%s: SNR gain vs speexdsp", suppressors[s].name.c_str());
        BenchRowDb(row, sums[s].gain / m, speexSums.gain / n, ">=", -3.0);
        snprintf(row, sizeof row, "%s: speech level change (size) vs speexdsp",
                 suppressors[s].name.c_str());
        BenchRowDb(row, sums[s].change / m, speexSums.change / n, "<=", 1.0);
    }
}

} // namespace BenchMeasure
