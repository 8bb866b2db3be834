#include "SyntheticRoom.h"

#include <cmath>
#include <complex>

namespace {
const double kPi = 3.14159265358979323846;

uint32_t NextRandom(uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state;
}

double Uniform(uint32_t& state) { return (NextRandom(state) >> 8) / 16777216.0 * 2.0 - 1.0; }

typedef std::complex<double> Complex;

// In-place radix-2 transform of n (a power of two) points; inverse unscaled.
void Transform(std::vector<Complex>& a, bool inverse)
{
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = 2 * kPi / static_cast<double>(len) * (inverse ? 1 : -1);
        const Complex step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            Complex w(1.0, 0.0);
            for (size_t k = 0; k < len / 2; ++k) {
                const Complex u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

double Resonate(double x, double f, double r, double& y1, double& y2)
{
    double y = x + 2 * r * std::cos(2 * kPi * f / 16000.0) * y1 - r * r * y2;
    y2 = y1;
    y1 = y;
    return y * (1 - r);
}
} // namespace

namespace SyntheticRoom {
std::vector<double> SpeechLike(int samples, uint32_t seed, double peak)
{
    std::vector<double> out(samples);
    uint32_t state = seed * 2654435761u + 17;
    const double base = 100.0 + 60.0 * (seed % 3);
    const double shift = 1.0 + 0.15 * (seed % 4);
    double phase = 0.0, a1 = 0, a2 = 0, b1 = 0, b2 = 0, c1 = 0, c2 = 0;
    double biggest = 1e-9;
    for (int i = 0; i < samples; ++i) {
        double t = i / 16000.0;
        double f1 = shift * (500 + 250 * std::sin(2 * kPi * 1.7 * t + seed));
        double f2 = shift * (1500 + 600 * std::sin(2 * kPi * 1.1 * t + 2 * seed));
        double f3 = shift * (2600 + 300 * std::sin(2 * kPi * 0.7 * t + 3 * seed));
        phase += (base + 30.0 * std::sin(2 * kPi * 1.3 * t)) / 16000.0;
        double excitation = 0.0;
        if (phase >= 1.0) {
            phase -= 1.0;
            excitation = 1.0;
        }
        excitation += 0.05 * Uniform(state);
        double v = Resonate(excitation, f1, 0.97, a1, a2) +
                   0.6 * Resonate(excitation, f2, 0.96, b1, b2) +
                   0.3 * Resonate(excitation, f3, 0.95, c1, c2);
        // Syllables of about 200 ms and a pause every 1.5 s.
        double syllable = 0.5 + 0.5 * std::sin(2 * kPi * 4.0 * t + seed);
        double cycle = std::fmod(t + 0.37 * seed, 1.5);
        double gate = cycle < 1.1 ? 1.0 : 0.0;
        out[i] = v * syllable * gate;
        biggest = std::max(biggest, std::fabs(out[i]));
    }
    for (double& v : out)
        v *= peak / biggest;
    return out;
}

std::vector<double> ImpulseResponse(int rate, double delayMs, double rt60Ms, double lengthMs,
                                    double gain, uint32_t seed)
{
    const int length = static_cast<int>(rate * lengthMs / 1000.0);
    const int delay = static_cast<int>(rate * delayMs / 1000.0);
    std::vector<double> h(length, 0.0);
    uint32_t state = seed * 747796405u + 1;
    if (delay < length)
        h[delay] = gain;
    const double decayPerSample = std::pow(10.0, -3.0 / (rate * rt60Ms / 1000.0));
    double envelope = 0.5 * gain;
    for (int i = delay + 1; i < length; ++i) {
        envelope *= decayPerSample;
        h[i] = envelope * Uniform(state);
    }
    return h;
}

std::vector<double> Convolve(const std::vector<double>& x, const std::vector<double>& h)
{
    std::vector<double> y(x.size(), 0.0);
    if (h.size() <= 64) {
        for (size_t k = 0; k < h.size(); ++k) {
            if (h[k] == 0.0)
                continue;
            for (size_t n = k; n < x.size(); ++n)
                y[n] += h[k] * x[n - k];
        }
        return y;
    }
    // Long responses overlap-add through the transform: pieces of the input
    // as long as the response, in transforms of at least twice that.
    size_t points = 1;
    while (points < 2 * h.size())
        points <<= 1;
    const size_t piece = points - h.size() + 1;
    std::vector<Complex> response(points, Complex(0.0, 0.0));
    for (size_t k = 0; k < h.size(); ++k)
        response[k] = h[k];
    Transform(response, false);
    std::vector<Complex> work(points);
    for (size_t start = 0; start < x.size(); start += piece) {
        std::fill(work.begin(), work.end(), Complex(0.0, 0.0));
        for (size_t i = 0; i < piece && start + i < x.size(); ++i)
            work[i] = x[start + i];
        Transform(work, false);
        for (size_t i = 0; i < points; ++i)
            work[i] *= response[i];
        Transform(work, true);
        for (size_t i = 0; i < points && start + i < y.size(); ++i)
            y[start + i] += work[i].real() / static_cast<double>(points);
    }
    return y;
}

std::vector<double> Noise(int samples, double rms, uint32_t seed)
{
    std::vector<double> out(samples);
    uint32_t state = seed * 2246822519u + 3;
    for (int i = 0; i < samples; ++i)
        out[i] = Uniform(state) * rms * std::sqrt(3.0);
    return out;
}

std::vector<int16_t> ToPcm(const std::vector<double>& x)
{
    std::vector<int16_t> out(x.size());
    for (size_t i = 0; i < x.size(); ++i) {
        double v = std::floor(x[i] + 0.5);
        out[i] = static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
    return out;
}

std::vector<double> Sum(const std::vector<double>& a, const std::vector<double>& b)
{
    std::vector<double> out(a);
    for (size_t i = 0; i < out.size() && i < b.size(); ++i)
        out[i] += b[i];
    return out;
}

double EnergyDb(const std::vector<double>& x, size_t from, size_t count)
{
    double sum = 0.0;
    size_t n = 0;
    for (size_t i = from; i < from + count && i < x.size(); ++i, ++n)
        sum += x[i] * x[i];
    if (n == 0 || sum <= 0.0)
        return -200.0;
    return 10.0 * std::log10(sum / n);
}

double EnergyDb(const std::vector<int16_t>& x, size_t from, size_t count)
{
    double sum = 0.0;
    size_t n = 0;
    for (size_t i = from; i < from + count && i < x.size(); ++i, ++n)
        sum += double(x[i]) * x[i];
    if (n == 0 || sum <= 0.0)
        return -200.0;
    return 10.0 * std::log10(sum / n);
}

std::vector<int16_t> Sine(int samples, int rate, double frequency, double amplitude)
{
    std::vector<int16_t> out(samples);
    for (int i = 0; i < samples; ++i)
        out[i] = static_cast<int16_t>(
            std::floor(amplitude * std::sin(2 * kPi * frequency * i / rate) + 0.5));
    return out;
}

double ToneFrequency(const std::vector<int16_t>& x, size_t from, size_t count, int rate)
{
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = from + 1; i < from + count && i < x.size(); ++i) {
        if (x[i - 1] < 0 && x[i] >= 0) {
            double t = (i - 1) + double(-x[i - 1]) / (double(x[i]) - x[i - 1]);
            if (first < 0)
                first = t;
            else
                ++crossings;
            last = t;
        }
    }
    if (crossings == 0)
        return 0.0;
    return crossings * rate / (last - first);
}
} // namespace SyntheticRoom
