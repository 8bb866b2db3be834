#include "SpeechSignals.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "WavReader.h"

namespace BenchMeasure {

namespace {
const double kPi = 3.14159265358979323846;

struct Random
{
    uint32_t state;
    double Uniform() // -1..1
    {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) / 8388608.0 - 1.0;
    }
    double Gaussian()
    {
        double u1 = (Uniform() + 1.0) / 2.0, u2 = (Uniform() + 1.0) / 2.0;
        if (u1 < 1e-12)
            u1 = 1e-12;
        return std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * kPi * u2);
    }
};

double Resonate(double x, double f, double r, int rate, double& y1, double& y2)
{
    const double y = x + 2 * r * std::cos(2 * kPi * f / rate) * y1 - r * r * y2;
    y2 = y1;
    y1 = y;
    return y * (1 - r);
}

void Normalise(std::vector<double>& x)
{
    double sum = 0;
    for (double v : x)
        sum += v * v;
    const double scale = sum > 0 ? 1.0 / std::sqrt(sum / x.size()) : 0.0;
    for (double& v : x)
        v *= scale;
}

std::vector<double> FramePowers(const std::vector<double>& x, int frame)
{
    std::vector<double> powers;
    for (size_t at = 0; at + frame <= x.size(); at += frame) {
        double sum = 0;
        for (int i = 0; i < frame; ++i)
            sum += x[at + i] * x[at + i];
        powers.push_back(sum / frame);
    }
    return powers;
}
} // namespace

std::vector<double> SpeechSignals::Synthetic(int rate, double seconds, uint32_t seed)
{
    const size_t count = static_cast<size_t>(rate * seconds);
    std::vector<double> out(count);
    Random random{seed * 2654435761u + 1};
    double phase = 0, a1 = 0, a2 = 0, b1 = 0, b2 = 0, c1 = 0, c2 = 0, biggest = 1e-9;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double f1 = 500 + 250 * std::sin(2 * kPi * 1.7 * t + seed);
        const double f2 = 1500 + 600 * std::sin(2 * kPi * 1.1 * t + 2.0 * seed);
        const double f3 = 2600 + 300 * std::sin(2 * kPi * 0.7 * t + 3.0 * seed);
        phase += (100.0 + 25.0 * (seed % 4) + 30.0 * std::sin(2 * kPi * 1.3 * t + seed)) / rate;
        double excitation = 0;
        if (phase >= 1.0) {
            phase -= 1.0;
            excitation = 1.0;
        }
        // Every third syllable is unvoiced.
        const bool voiced = static_cast<int>(t * 4.0) % 3 != 2;
        excitation = voiced ? excitation + 0.03 * random.Uniform() : 0.25 * random.Uniform();
        const double v = Resonate(excitation, f1, 0.97, rate, a1, a2) +
                         0.6 * Resonate(excitation, f2, 0.96, rate, b1, b2) +
                         0.3 * Resonate(excitation, f3, 0.95, rate, c1, c2);
        const double syllable = 0.55 + 0.45 * std::sin(2 * kPi * 4.0 * t);
        const bool talking = std::fmod(t, 2.5) < 1.8;
        out[i] = talking ? v * syllable : 0.0;
        biggest = std::max(biggest, std::fabs(out[i]));
    }
    for (double& v : out)
        v *= 12000.0 / biggest;
    return out;
}

std::vector<double> SpeechSignals::Speech(int rate, double minSeconds, std::string* source)
{
    std::vector<int16_t> spoken;
    const char* path = getenv("HALVERN_BENCH_SPEECH");
    std::string error;
    if (path && *path && WavReader::ReadFile(path, rate, &spoken, &error) &&
        spoken.size() >= static_cast<size_t>(rate)) {
        if (source)
            *source = std::string("spoken speech from ") + path;
        std::vector<double> out;
        const size_t want = static_cast<size_t>(rate * minSeconds);
        while (out.size() < want)
            out.insert(out.end(), spoken.begin(), spoken.end());
        return out;
    }
    if (source) {
        *source = "synthetic speech-like signal (";
        if (!path || !*path)
            *source += "no spoken speech: espeak-ng is not installed";
        else if (!error.empty())
            *source += std::string(path) + ": " + error;
        else
            *source += std::string(path) + ": shorter than a second";
        *source += ")";
    }
    return Synthetic(rate, minSeconds, 1);
}

std::vector<double> SpeechSignals::WhiteNoise(size_t count, uint32_t seed)
{
    Random random{seed * 747796405u + 3};
    std::vector<double> out(count);
    for (double& v : out)
        v = random.Gaussian();
    Normalise(out);
    return out;
}

std::vector<double> SpeechSignals::PinkNoise(size_t count, int rate, uint32_t seed)
{
    // White noise through a high-pass at 80 Hz (a zero at DC), then through
    // first-order sections whose poles lie two to a decade from 100 Hz up,
    // each followed by a zero half-way (geometrically) to the next pole: the
    // slope alternates between -6 and 0 dB per octave and averages -3.
    std::vector<double> out = WhiteNoise(count, seed);
    {
        const double p = std::exp(-2 * kPi * 80.0 / rate);
        double x1 = 0, y1 = 0;
        for (double& v : out) {
            const double y = v - x1 + p * y1;
            x1 = v;
            y1 = y;
            v = y;
        }
    }
    const double step = std::sqrt(10.0);
    for (double pole = 100.0; pole < rate / 2.0; pole *= step) {
        const double zero = pole * std::sqrt(step);
        const double p = std::exp(-2 * kPi * pole / rate);
        const double z = zero < rate / 2.0 ? std::exp(-2 * kPi * zero / rate) : 0.0;
        double x1 = 0, y1 = 0;
        for (double& v : out) {
            const double y = v - z * x1 + p * y1;
            x1 = v;
            y1 = y;
            v = y;
        }
    }
    Normalise(out);
    return out;
}

double SpeechSignals::ActiveSpeechPower(const std::vector<double>& speech, int rate)
{
    std::vector<double> powers = FramePowers(speech, rate / 50);
    if (powers.empty())
        return 0.0;
    std::vector<double> sorted = powers;
    std::sort(sorted.begin(), sorted.end());
    const double loud = sorted[sorted.size() * 95 / 100];
    double sum = 0;
    int active = 0;
    for (double p : powers)
        if (p > loud * 1e-3) {
            sum += p;
            ++active;
        }
    return active ? sum / active : 0.0;
}

std::vector<double> SpeechSignals::ScaleNoise(const std::vector<double>& speech,
                                              const std::vector<double>& noise, int rate,
                                              double snrDb)
{
    double noisePower = 0;
    for (double v : noise)
        noisePower += v * v;
    noisePower = noise.empty() ? 0.0 : noisePower / noise.size();
    const double want = ActiveSpeechPower(speech, rate) / std::pow(10.0, snrDb / 10.0);
    const double scale = noisePower > 0 ? std::sqrt(want / noisePower) : 0.0;
    std::vector<double> out(noise);
    for (double& v : out)
        v *= scale;
    return out;
}

std::vector<int16_t> SpeechSignals::ToPcm(const std::vector<double>& x)
{
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        const double v = std::round(x[i]);
        out[i] = static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
    return out;
}

} // namespace BenchMeasure
