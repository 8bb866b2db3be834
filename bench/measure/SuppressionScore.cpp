#include "SuppressionScore.h"

#include <algorithm>
#include <cmath>

namespace BenchMeasure {

namespace {
double Db(double ratio) { return 10.0 * std::log10(ratio); }

double Power(const std::vector<double>& x, size_t at, int count)
{
    double sum = 0;
    for (int i = 0; i < count; ++i)
        sum += x[at + i] * x[at + i];
    return sum / count;
}
} // namespace

int SuppressionScore::FindDelay(const std::vector<double>& reference,
                                const std::vector<double>& output, size_t from, int maxDelay,
                                int rate)
{
    if (from >= reference.size() || maxDelay < 0)
        return 0;
    size_t count = std::min<size_t>(2 * static_cast<size_t>(rate), reference.size() - from);
    if (output.size() < from + maxDelay)
        return 0;
    count = std::min(count, output.size() - from - maxDelay);
    double best = -1.0;
    int bestLag = 0;
    for (int lag = 0; lag <= maxDelay; ++lag) {
        double cross = 0, energy = 1e-9;
        for (size_t i = from; i < from + count; i += 2) {
            cross += reference[i] * output[i + lag];
            energy += output[i + lag] * output[i + lag];
        }
        const double score = cross > 0 ? cross * cross / energy : 0.0;
        if (score > best) {
            best = score;
            bestLag = lag;
        }
    }
    return bestLag;
}

SuppressionFigures SuppressionScore::Measure(const std::vector<double>& speech,
                                             const std::vector<double>& noise,
                                             const std::vector<int16_t>& output, int rate,
                                             size_t from, int maxDelay)
{
    SuppressionFigures f;
    const int frame = rate / 50;
    const size_t length = std::min(speech.size(), noise.size());
    if (frame <= 0 || from >= length)
        return f;
    std::vector<double> input(length), out(output.begin(), output.end());
    for (size_t i = 0; i < length; ++i)
        input[i] = speech[i] + noise[i];
    f.delay = FindDelay(speech, out, from, maxDelay, rate);
    if (out.size() < length + f.delay)
        out.resize(length + f.delay, 0.0);

    // Classify the clean speech's frames.
    const size_t frames = (length - from) / frame;
    std::vector<double> powers(frames);
    for (size_t k = 0; k < frames; ++k)
        powers[k] = Power(speech, from + k * frame, frame);
    if (frames == 0)
        return f;
    std::vector<double> sorted = powers;
    std::sort(sorted.begin(), sorted.end());
    const double loud = sorted[frames * 95 / 100];
    const int guard = 5; // frames: 100 ms on either side of a pause frame
    double activeIn = 0, activeOut = 0, pauseIn = 0, pauseOut = 0;
    int active = 0, pauses = 0;
    for (size_t k = 0; k < frames; ++k) {
        const size_t at = from + k * frame;
        if (powers[k] > loud * 1e-3) {
            activeIn += Power(input, at, frame);
            activeOut += Power(out, at + f.delay, frame);
            ++active;
            continue;
        }
        if (k < static_cast<size_t>(guard) || k + guard >= frames)
            continue;
        bool quiet = true;
        for (size_t j = k - guard; j <= k + guard && quiet; ++j)
            quiet = powers[j] < loud * 1e-6;
        if (quiet) {
            pauseIn += Power(input, at, frame);
            pauseOut += Power(out, at + f.delay, frame);
            ++pauses;
        }
    }
    if (!active || !pauses)
        return f;
    activeIn /= active;
    activeOut /= active;
    pauseIn /= pauses;
    pauseOut /= pauses;
    const double speechIn = activeIn - pauseIn, speechOut = activeOut - pauseOut;
    if (speechIn <= 0 || speechOut <= 0 || pauseIn <= 0)
        return f;
    // A suppressor may leave digital silence in pauses: count it as one
    // step of the 16-bit output, rather than an infinite gain.
    const double floor = 1.0 / 12.0;
    pauseOut = std::max(pauseOut, floor);
    f.snrInDb = Db(speechIn / pauseIn);
    f.snrOutDb = Db(speechOut / pauseOut);
    f.snrGainDb = f.snrOutDb - f.snrInDb;
    f.noiseRemovedDb = Db(pauseIn / pauseOut);
    f.speechChangeDb = Db(speechOut / speechIn);
    f.valid = true;
    return f;
}

} // namespace BenchMeasure
