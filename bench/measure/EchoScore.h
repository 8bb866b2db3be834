#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace BenchMeasure {

// Double talk as an echo canceller's user hears it. The near talker, as it
// reached the microphone, is looked for in the output: the part of the output
// that a short filter of the talker explains (delay and colouring allowed) is
// the talker kept; whatever else is left is echo, noise and distortion.
// A canceller that removes nothing keeps the talker (0 dB) but removes no echo
// (0 dB); one that mutes the microphone removes the echo and the talker.
struct DoubleTalkFigures
{
    bool valid = false;
    int lag = 0;                 // samples the output lags the microphone
    double talkerKeptDb = 0;     // talker found in the output over the talker itself
    double echoRemovedDb = 0;    // echo in the microphone over what is left beside the talker
    double talkerOverRestDb = 0; // talker found in the output over what is left beside it
};

class EchoScore
{
public:
    // output: the canceller's output; talker and echo: the two parts of the
    // microphone signal. Counted over [from, from + count) of the
    // microphone's time line; the output may lag it by up to maxLag samples.
    template <typename Sample>
    static DoubleTalkFigures
    DoubleTalk(const std::vector<Sample>& output, const std::vector<double>& talker,
               const std::vector<double>& echo, size_t from, size_t count, int maxLag)
    {
        std::vector<double> out(output.begin(), output.end());
        return DoubleTalkOf(out, talker, echo, from, count, maxLag);
    }

    // Echo return loss enhancement: microphone energy over output energy, dB.
    template <typename A, typename B>
    static double ErleDb(const std::vector<A>& mic, const std::vector<B>& output, size_t from,
                         size_t count, size_t outputLag = 0)
    {
        double in = 1e-9, out = 1e-9;
        for (size_t i = from; i < from + count && i < mic.size(); ++i)
            in += static_cast<double>(mic[i]) * mic[i];
        for (size_t i = from + outputLag; i < from + outputLag + count && i < output.size(); ++i)
            out += static_cast<double>(output[i]) * output[i];
        return EnergyRatioDb(in, out);
    }

private:
    static double EnergyRatioDb(double a, double b);
    static DoubleTalkFigures DoubleTalkOf(const std::vector<double>& output,
                                          const std::vector<double>& talker,
                                          const std::vector<double>& echo, size_t from,
                                          size_t count, int maxLag);
};

} // namespace BenchMeasure
