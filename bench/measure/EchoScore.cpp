#include "EchoScore.h"

#include <cmath>

#include "LeastSquares.h"

namespace BenchMeasure {

namespace {
// The talker filter: taps from kLead samples before the found lag to
// kTaps - kLead - 1 after it.
const int kTaps = 96;
const int kLead = 16;
} // namespace

double EchoScore::EnergyRatioDb(double a, double b) { return 10.0 * std::log10(a / b); }

DoubleTalkFigures EchoScore::DoubleTalkOf(const std::vector<double>& output,
                                          const std::vector<double>& talker,
                                          const std::vector<double>& echo, size_t from,
                                          size_t count, int maxLag)
{
    DoubleTalkFigures f;
    if (maxLag < 0 || from < static_cast<size_t>(kTaps) || count < static_cast<size_t>(4 * kTaps) ||
        from + count + kLead > talker.size() || from + count > echo.size() ||
        from + count + maxLag + kLead > output.size())
        return f;

    // Lag of the strongest match of output and talker: over every other
    // sample first, then over every sample near the best.
    auto match = [&](int lag, int stride) {
        double cross = 0;
        for (size_t i = from; i < from + count; i += stride)
            cross += output[i + lag] * talker[i];
        return std::fabs(cross);
    };
    double best = -1.0;
    int coarse = 0;
    for (int lag = 0; lag <= maxLag; ++lag) {
        const double m = match(lag, 2);
        if (m > best) {
            best = m;
            coarse = lag;
        }
    }
    best = -1.0;
    for (int lag = coarse > 2 ? coarse - 2 : 0; lag <= coarse + 2 && lag <= maxLag; ++lag) {
        const double m = match(lag, 1);
        if (m > best) {
            best = m;
            f.lag = lag;
        }
    }

    // Least-squares filter of the talker that best explains the output:
    // out(i + lag) ~ sum_j h(j) talker(i + kLead - j). The talker's
    // correlation matrix is taken as Toeplitz (its autocorrelation).
    std::vector<double> r(kTaps, 0.0), p(kTaps, 0.0);
    double talkerEnergy = 0, echoEnergy = 0;
    for (size_t i = from; i < from + count; ++i) {
        talkerEnergy += talker[i] * talker[i];
        echoEnergy += echo[i] * echo[i];
        for (int j = 0; j < kTaps; ++j) {
            r[j] += talker[i] * talker[i - j];
            p[j] += output[i + f.lag] * talker[i + kLead - j];
        }
    }
    if (talkerEnergy <= 0 || echoEnergy <= 0)
        return f;
    // A talker of a few tones leaves the matrix all but singular: a small
    // load on its diagonal (-60 dB of the talker's power, more if needed)
    // still finds the filter within the talker's own band.
    std::vector<double> a(kTaps * kTaps), h;
    bool solved = false;
    for (double load = 1e-6; load < 1.0 && !solved; load *= 100) {
        for (int j = 0; j < kTaps; ++j)
            for (int k = 0; k < kTaps; ++k)
                a[j * kTaps + k] = r[j > k ? j - k : k - j] + (j == k ? load * r[0] : 0.0);
        solved = LeastSquares::Solve(a, p, kTaps, &h);
    }
    if (!solved)
        return f;
    double keptEnergy = 0, restEnergy = 0;
    for (size_t i = from; i < from + count; ++i) {
        double fit = 0;
        for (int j = 0; j < kTaps; ++j)
            fit += h[j] * talker[i + kLead - j];
        keptEnergy += fit * fit;
        const double rest = output[i + f.lag] - fit;
        restEnergy += rest * rest;
    }
    keptEnergy += 1e-9;
    restEnergy += 1e-9;
    f.talkerKeptDb = EnergyRatioDb(keptEnergy, talkerEnergy);
    f.echoRemovedDb = EnergyRatioDb(echoEnergy, restEnergy);
    f.talkerOverRestDb = EnergyRatioDb(keptEnergy, restEnergy);
    f.valid = true;
    return f;
}

} // namespace BenchMeasure
