#include "AgcStage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
const double kFullScale = 1073741824.0;   // 2^30
const double kFullScaleDb = 20.0 * std::log10(32768.0);

double Sigmoid(int i)
{
    return 1.0 / (1.0 + std::exp(-(i - 15) / 5.0));
}
}

AgcStage::AgcStage()
    : m_filter(0.99339000708948, -1.98677999683081, 0.99339000708948, -1.99824894455516,
               0.99825067873935)
{
}

bool AgcStage::Create(int rate, int frameMs, double targetDb, double minGainDb, double maxGainDb)
{
    m_valid = false;
    if ((rate != 8000 && rate != 16000) || (frameMs != 10 && frameMs != 20))
        return false;
    if (targetDb < -50.0 || targetDb > 0.0 || minGainDb < -40.0 || maxGainDb > 40.0 ||
        minGainDb > maxGainDb)
        return false;
    m_rate = rate;
    m_frame = rate * frameMs / 1000;
    m_target = targetDb;
    m_minGain = minGainDb;
    m_maxGain = maxGainDb;
    m_speechPower = 1e-3 * kFullScale;
    m_noisePower = std::pow(10.0, -3.5) * kFullScale;
    m_gain = 0.0;
    m_backOff = 0.0;
    m_f2 = std::pow(0.01, 1.0 / (rate * 2.0));
    m_f5 = std::pow(0.01, 1.0 / (rate * 5.0));
    m_f1 = std::pow(0.01, 1.0 / (rate * 1.0));
    m_frameCount = 0;
    m_hangover = false;
    m_filter.Reset();
    const int historyMs = std::max(frameMs, 18);
    m_history.assign(static_cast<size_t>(historyMs * rate / 1000), 0.0);
    uint32_t seed = 12345;
    for (double& v : m_history) {
        seed = seed * 1103515245u + 12345u;
        v = static_cast<double>(static_cast<int>((seed >> 16) & 127) - 64);
    }
    m_valid = true;
    return true;
}

double AgcStage::Likelihood()
{
    const int h = static_cast<int>(m_history.size());
    const int cur = h - m_frame;
    const double* x = m_history.data();
    double e0 = 0.0;
    for (int i = 0; i < m_frame; ++i)
        e0 += x[cur + i] * x[cur + i];
    double best = 1e-16;
    for (int lag = 20; cur - lag >= 0; lag += 4) {
        const int start = cur - lag;
        double r = 0.0, e = 0.0;
        for (int i = 0; i < m_frame; ++i) {
            r += x[cur + i] * x[start + i];
            e += x[start + i] * x[start + i];
        }
        if (r > 0.0) {
            const double v = r * r / (e + 1.0);
            if (v > best)
                best = v;
        }
    }
    double r = std::sqrt(best / (e0 + 1.0));
    if (r > 0.5) {
        m_hangover = true;
    } else if (m_hangover) {
        r *= 1.1;
        m_hangover = false;
    }
    return std::min(1.0, std::max(0.0, r));
}

bool AgcStage::Process(int16_t* samples, int count)
{
    if (!m_valid || !samples || count != m_frame)
        return false;
    for (int i = 0; i < count; ++i) {
        double y = m_filter.Step(samples[i]);
        y = std::min(32767.0, std::max(-32768.0, y));
        samples[i] = static_cast<int16_t>(y);
    }
    const int h = static_cast<int>(m_history.size());
    memmove(m_history.data(), m_history.data() + count, (h - count) * sizeof(double));
    for (int i = 0; i < count; ++i)
        m_history[h - count + i] = samples[i];
    const double r = Likelihood();

    double sumSquares = 0.0;
    for (int i = 0; i < count; ++i)
        sumSquares += static_cast<double>(samples[i]) * samples[i];
    const double e = (sumSquares + 1e-7 * kFullScale) / count;
    double smoothed = m_speechPower;
    for (int i = 0; i < count; ++i)
        smoothed = m_f1 * smoothed + (1.0 - m_f1) * static_cast<double>(samples[i]) * samples[i];

    int index = static_cast<int>(99.9 * r);
    index = std::min(100, std::max(0, index));
    const double beta = 0.95 + 0.05 * Sigmoid(index);
    m_noisePower = beta * m_noisePower + (1.0 - beta) * e;
    if (e < m_noisePower)
        m_noisePower *= std::pow(10.0, -0.05);
    const double snr = 10.0 * std::log10((e + 1e-16) / (m_noisePower + 1e-16));
    const bool speech = r > 0.8 || (r > 0.7 && snr > 4.0) || (r > 0.4 && snr > 7.0) || snr > 12.0;

    double target;
    double factor;
    if (speech) {
        m_speechPower = smoothed;
        target = m_target - (10.0 * std::log10(m_speechPower + 1e-16) - kFullScaleDb) - m_backOff;
        factor = target > m_gain ? m_f2 : m_f5;
    } else {
        target = m_gain - 0.2;
        factor = m_f5;
    }
    if (snr < 8.0) {
        target = m_gain - (1.0 - snr / 8.0);
        factor = m_f5;
    }
    target = std::min(m_maxGain, std::max(m_minGain, target));
    m_backOff = 0.0;

    bool clipped = false;
    double linear = std::pow(10.0, m_gain / 20.0);
    for (int i = 0; i < count; ++i) {
        if (!clipped) {
            m_gain = (m_gain - target) * factor + target;
            linear = std::pow(10.0, m_gain / 20.0);
        }
        double y = samples[i] * linear;
        if (y > 32767.0) {
            y = 32767.0;
            clipped = true;
        } else if (y < -32768.0) {
            y = -32768.0;
            clipped = true;
        }
        samples[i] = static_cast<int16_t>(y);
        if (std::fabs(y) > m_clip) {
            clipped = true;
            m_gain -= 0.5;
            m_backOff += 0.5;
            linear = std::pow(10.0, m_gain / 20.0);
        }
    }
    ++m_frameCount;
    return true;
}
