#include "CGainControl.h"

#include <cmath>

namespace AudioCommon {

namespace {

const double kFullScalePower = 1073741824.0;    // 2^30
const double kFullScaleDb = 90.308998699194358; // 20 log10(32768)
const double kDbToLog = 0.11512925464970229;    // ln(10) / 20

double Decay(int rate, double seconds) { return std::pow(0.01, 1.0 / (rate * seconds)); }

// Weight of the likelihood in the noise tracker, from 0 to 100.
double Smooth(int i)
{
    i = i < 0 ? 0 : (i > 100 ? 100 : i);
    return 1.0 / (1.0 + std::exp(-(i - 15) / 5.0));
}

} // namespace

bool CGainControl::ValidSettings(double targetDb, double minGainDb, double maxGainDb)
{
    return targetDb >= -50.0 && targetDb <= 0.0 && minGainDb >= -40.0 && minGainDb <= maxGainDb &&
           maxGainDb <= 40.0;
}

void CGainControl::Reset(int rate, double targetDb, double minGainDb, double maxGainDb)
{
    m_target = targetDb;
    m_minGain = minGainDb;
    m_maxGain = maxGainDb;
    m_speechPower = 1e-3 * kFullScalePower;
    m_noisePower = std::pow(10.0, -3.5) * kFullScalePower;
    m_gain = 0.0;
    m_backOff = 0.0;
    m_f2 = Decay(rate, 2.0);
    m_f5 = Decay(rate, 5.0);
    m_f1 = Decay(rate, 1.0);
}

void CGainControl::Process(int16_t* x, int count, double likelihood)
{
    if (!x || count < 1)
        return;
    double sum = 0.0;
    double smoothed = m_speechPower;
    for (int i = 0; i < count; ++i) {
        const double sq = static_cast<double>(x[i]) * x[i];
        sum += sq;
        smoothed = m_f1 * smoothed + (1.0 - m_f1) * sq;
    }
    const double e = (sum + 1e-7 * kFullScalePower) / count;
    const double beta = 0.95 + 0.05 * Smooth(static_cast<int>(99.9 * likelihood));
    m_noisePower = beta * m_noisePower + (1.0 - beta) * e;
    if (e < m_noisePower)
        m_noisePower *= 0.89125093813374556; // -0.5 dB
    const double snr = 10.0 * std::log10((e + 1e-16) / (m_noisePower + 1e-16));
    const double r = likelihood;
    const bool speech = r > 0.8 || (r > 0.7 && snr > 4.0) || (r > 0.4 && snr > 7.0) || snr > 12.0;

    double target, factor;
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
    target = target < m_minGain ? m_minGain : (target > m_maxGain ? m_maxGain : target);
    m_backOff = 0.0;

    bool saturated = false;
    double linear = std::exp(m_gain * kDbToLog);
    for (int i = 0; i < count; ++i) {
        if (!saturated) {
            m_gain = (m_gain - target) * factor + target;
            linear = std::exp(m_gain * kDbToLog);
        }
        const double y = x[i] * linear;
        int out;
        if (y > 32767.0) {
            out = 32767;
            saturated = true;
        } else if (y < -32768.0) {
            out = -32768;
            saturated = true;
        } else {
            out = static_cast<int>(y);
        }
        x[i] = static_cast<int16_t>(out);
        if (out > CLIP_THRESHOLD || out < -CLIP_THRESHOLD) {
            m_gain -= 0.5;
            m_backOff += 0.5;
            linear = std::exp(m_gain * kDbToLog);
        }
    }
}

} // namespace AudioCommon
