#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace BenchMeasure {

// What a noise suppressor did to noisy speech, told apart by the clean speech
// that went into it: its 20 ms frames are active (within 30 dB of its loud
// frames) or pauses (60 dB below them, with no speech for 100 ms on either
// side). Noise is the mean power in pauses, speech the mean power of active
// frames less that noise.
struct SuppressionFigures
{
    bool valid = false; // false: no active frames, no pauses, or no speech left
    int delay = 0;      // samples the output lags the input
    double snrInDb = 0;
    double snrOutDb = 0;
    double snrGainDb = 0;      // snrOutDb - snrInDb
    double noiseRemovedDb = 0; // noise in pauses, input over output
    double speechChangeDb = 0; // speech, output over input (negative: the talker is quieter)
};

class SuppressionScore
{
public:
    // input = speech + noise went into the suppressor, output came out; the
    // frames from sample `from` on are counted. The output's delay is found
    // by correlation with the speech, up to maxDelay samples.
    static SuppressionFigures Measure(const std::vector<double>& speech,
                                      const std::vector<double>& noise,
                                      const std::vector<int16_t>& output, int rate, size_t from,
                                      int maxDelay);

    // Lag (0..maxDelay) at which the output best matches the reference,
    // judged over up to two seconds from `from`.
    static int FindDelay(const std::vector<double>& reference, const std::vector<double>& output,
                         size_t from, int maxDelay, int rate);
};

} // namespace BenchMeasure
