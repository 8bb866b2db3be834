#include "NoiseSuppressor.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "RealFft256.h"

namespace RavoEngine {

namespace {
const double kB0 = 0.93333106429496, kB1 = -1.86664955148748, kB2 = 0.93333106429496;
const double kA1 = -1.91914366737155, kA2 = 0.92318268194521;

struct Windows
{
    double hamming[NoiseSuppressor::FFT_SIZE];
    double inverseSum[NoiseSuppressor::FRAME];
    double sigmoid[101];
    Windows()
    {
        const double pi = 3.14159265358979323846;
        for (int i = 0; i < NoiseSuppressor::FFT_SIZE; ++i)
            hamming[i] = 0.54 - 0.46 * std::cos(2.0 * pi * i / 255.0);
        for (int j = 0; j < NoiseSuppressor::FRAME; ++j) {
            double s = 0.0;
            for (int p = j; p < NoiseSuppressor::FFT_SIZE; p += NoiseSuppressor::FRAME)
                s += hamming[p];
            inverseSum[j] = 1.0 / s;
        }
        for (int i = 0; i <= 100; ++i)
            sigmoid[i] = 1.0 / (1.0 + std::exp(-(i - 15) / 5.0));
    }
};

const Windows& GetWindows()
{
    static const Windows windows;
    return windows;
}
} // namespace

NoiseSuppressor::NoiseSuppressor(int level)
    : m_inFilter(kB0, kB1, kB2, kA1, kA2), m_outFilter(kB0, kB1, kB2, kA1, kA2)
{
    GetWindows();
    SetLevel(level);
}

double NoiseSuppressor::WindowSum(int position)
{
    if (position < 0 || position >= FRAME)
        return 0.0;
    return 1.0 / GetWindows().inverseSum[position];
}

void NoiseSuppressor::SetLevel(int level)
{
    if (level < 0)
        level = 0;
    else if (level > 4)
        level = 3;
    m_level = level;
    m_configuredDb = -10.0 - 5.0 * level;
    m_floorDb = -2.0;
    m_floor = std::pow(10.0, m_floorDb / 20.0);
    m_frameCount = 0;
    m_hangover = 0;
    m_lastVoicing = 0;
    memset(m_history, 0, sizeof m_history);
    memset(m_input, 0, sizeof m_input);
    memset(m_tail, 0, sizeof m_tail);
    for (int k = 0; k < BINS; ++k) {
        m_noise[k] = 1e-20;
        m_gain[k] = 0.0;
        m_gamma[k] = 0.0;
    }
    m_inFilter.Reset();
    m_outFilter.Reset();
}

int NoiseSuppressor::Noise_Sup(int16_t* samples, int count)
{
    if (!samples || count < 0 || count % FRAME != 0) {
        printf("\n Noise_Sup() : error size = %d,  should be multiple of %d \n", count, FRAME);
        return 0;
    }
    for (int i = 0; i < count; i += FRAME)
        ProcessFrame(samples + i);
    return 1;
}

int NoiseSuppressor::Voicing()
{
    const int cur = HISTORY - FRAME; // 143
    int32_t x[HISTORY];
    for (int i = 0; i < HISTORY; ++i)
        x[i] = m_history[i] >> 3;
    double e0 = 0.0;
    for (int i = 0; i < FRAME; ++i)
        e0 += static_cast<double>(x[cur + i]) * x[cur + i];
    double best = 0.0;
    for (int lag = 127; lag >= 5; lag -= 2) {
        const int start = cur - lag;
        double r = 0.0, e = 0.0;
        for (int i = 0; i < FRAME; ++i) {
            r += static_cast<double>(x[cur + i]) * x[start + i];
            e += static_cast<double>(x[start + i]) * x[start + i];
        }
        if (r > 0.0) {
            const double v = r * r / (e + 1.0);
            if (v > best)
                best = v;
        }
    }
    double r = std::sqrt(best / (e0 + 1.0));
    if (r > 0.7)
        m_hangover = 6;
    else if (m_hangover > 0)
        r *= 1.2;
    if (r < 0.0)
        r = 0.0;
    if (r > 1.0)
        r = 1.0;
    if (m_hangover > 0)
        --m_hangover;
    memmove(m_history, m_history + FRAME, (HISTORY - FRAME) * sizeof m_history[0]);
    return static_cast<int>(100.0 * r);
}

void NoiseSuppressor::ProcessFrame(int16_t* frame)
{
    const Windows& w = GetWindows();
    const int cur = HISTORY - FRAME;

    // Voicing on the high-passed input.
    for (int i = 0; i < FRAME; ++i) {
        double y = m_inFilter.Step(frame[i]);
        if (y > 32767.0)
            y = 32767.0;
        else if (y < -32768.0)
            y = -32768.0;
        m_history[cur + i] = static_cast<int16_t>(y);
    }
    const int v = Voicing();
    m_lastVoicing = v;

    // Analysis of the unfiltered input.
    memmove(m_input, m_input + FRAME, (FFT_SIZE - FRAME) * sizeof m_input[0]);
    for (int i = 0; i < FRAME; ++i)
        m_input[FFT_SIZE - FRAME + i] = frame[i];
    double spectrum[FFT_SIZE];
    for (int i = 0; i < FFT_SIZE; ++i)
        spectrum[i] = m_input[i] * w.hamming[i];
    RealFft256::Forward(spectrum);

    // Noise estimate and floor.
    const double beta = 0.95 + 0.05 * w.sigmoid[v];
    if (m_frameCount < 400) {
        if (m_frameCount >= 399)
            m_floorDb = m_configuredDb;
        else if (m_frameCount % 32 == 0)
            m_floorDb = -2.0 + (m_configuredDb + 2.0) * m_frameCount * 0.0025;
        m_floor = std::pow(10.0, m_floorDb / 20.0);
    }

    for (int k = 0; k < BINS; ++k) {
        double* re;
        double* im = nullptr;
        if (k == 0)
            re = &spectrum[0];
        else if (k == 128)
            re = &spectrum[1];
        else {
            re = &spectrum[2 * k];
            im = &spectrum[2 * k + 1];
        }
        const double p = (*re) * (*re) + (im ? (*im) * (*im) : 0.0) + 1e-20;
        m_noise[k] = beta * m_noise[k] + (1.0 - beta) * p;
        const double gamma = p / m_noise[k];
        const double excess = gamma - 1.0 > 0.0 ? gamma - 1.0 : 0.0;
        double xi;
        if (m_frameCount == 0)
            xi = 0.98 + 0.02 * excess;
        else
            xi = 0.98 * m_gain[k] * m_gain[k] * m_gamma[k] + 0.02 * excess;
        double g = xi / (xi + 1.0);
        if (g < m_floor)
            g = m_floor;
        m_gain[k] = g;
        m_gamma[k] = gamma;
        *re *= g;
        if (im)
            *im *= g;
    }

    RealFft256::Inverse(spectrum);

    // Overlap-add, normalised by the window sum so that unit gains give the
    // input back unchanged.
    for (int i = 0; i < FRAME; ++i) {
        double y = (spectrum[i] + m_tail[i]) * w.inverseSum[i];
        y = m_outFilter.Step(y);
        if (y > 32767.0)
            y = 32767.0;
        else if (y < -32768.0)
            y = -32768.0;
        frame[i] = static_cast<int16_t>(y);
    }
    double tail[TAIL];
    for (int i = 0; i < TAIL; ++i)
        tail[i] = spectrum[FRAME + i] + (FRAME + i < TAIL ? m_tail[FRAME + i] : 0.0);
    memcpy(m_tail, tail, sizeof tail);

    ++m_frameCount;
}

} // namespace RavoEngine
