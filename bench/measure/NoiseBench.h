#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace BenchMeasure {

// The noise suppressors' common benchmark: the same speech with white and pink
// noise at 5 and 15 dB goes through each suppressor and through speexdsp's
// preprocessor (denoise on, AGC and VAD off, 20 ms frames); printed per
// suppressor and noise are the SNR gain, the noise removed in pauses and the
// change of speech level, with a summary row each for tools/bench.sh.
class NoiseBench
{
public:
    struct Suppressor
    {
        std::string name;
        // Runs a fresh suppressor over the whole input; the output may lag.
        std::function<std::vector<int16_t>(const std::vector<int16_t>&)> run;
    };

    static void Run(const char* title, int rate, const std::vector<Suppressor>& suppressors);

    // speexdsp's preprocessor as the reference runs it.
    static std::vector<int16_t> Speex(const std::vector<int16_t>& input, int rate);
};

} // namespace BenchMeasure
