#include "AutomaticGainControl.h"

#include <cmath>
#include <cstdlib>

namespace {
const double FULL_SCALE_POWER = 1073741824.0;   // 2^30
double Decay(int rate, double seconds)
{
    return std::pow(0.01, 1.0 / (rate * seconds));
}
} // namespace

AutomaticGainControl::AutomaticGainControl(int rate, int frame, double target, double minGain,
                                           double maxGain)
    : m_rate(rate), m_n(frame), m_target(target), m_minGain(minGain), m_maxGain(maxGain),
      m_speechPower(1e-3 * FULL_SCALE_POWER), m_noisePower(std::pow(10.0, -3.5) * FULL_SCALE_POWER),
      m_f2(Decay(rate, 2.0)), m_f5(Decay(rate, 5.0)), m_f1(Decay(rate, 1.0)),
      m_likelihood(frame, rate / 50)
{
}

bool AutomaticGainControl::ValidSettings(double target, double minGain, double maxGain)
{
    return target >= -50.0 && target <= 0.0 && minGain >= -40.0 && minGain <= maxGain &&
           maxGain <= 40.0;
}

void AutomaticGainControl::Process(int16_t* x)
{
    const double r = m_likelihood.Measure(x);
    double sum = 0.0;
    double smoothed = m_speechPower;
    for (int i = 0; i < m_n; ++i) {
        double sq = static_cast<double>(x[i]) * x[i];
        sum += sq;
        smoothed = m_f1 * smoothed + (1.0 - m_f1) * sq;
    }
    const double e = (sum + 1e-7 * FULL_SCALE_POWER) / m_n;
    const double beta = 0.95 + 0.05 * SpeechLikelihood::Smooth(static_cast<int>(99.9 * r));
    m_noisePower = beta * m_noisePower + (1.0 - beta) * e;
    if (e < m_noisePower)
        m_noisePower *= std::pow(10.0, -0.05);
    const double k = 10.0 * std::log10((e + 1e-16) / (m_noisePower + 1e-16));
    const bool speech = r > 0.8 || (r > 0.7 && k > 4.0) || (r > 0.4 && k > 7.0) || k > 12.0;

    double target, factor;
    if (speech) {
        m_speechPower = smoothed;
        target = m_target - (10.0 * std::log10(m_speechPower + 1e-16) - 20.0 * std::log10(32768.0)) -
                 m_backOff;
        factor = target > m_gain ? m_f2 : m_f5;
    } else {
        target = m_gain - 0.2;
        factor = m_f5;
    }
    if (k < 8.0) {
        target = m_gain - (1.0 - k / 8.0);
        factor = m_f5;
    }
    if (target < m_minGain)
        target = m_minGain;
    if (target > m_maxGain)
        target = m_maxGain;
    m_backOff = 0.0;

    bool clipped = false;
    double a = std::pow(10.0, m_gain / 20.0);
    for (int i = 0; i < m_n; ++i) {
        if (!clipped) {
            m_gain = (m_gain - target) * factor + target;
            a = std::pow(10.0, m_gain / 20.0);
        }
        double y = x[i] * a;
        int out;
        if (y > 32767.0) {
            out = 32767;
            clipped = true;
        } else if (y < -32768.0) {
            out = -32768;
            clipped = true;
        } else {
            out = static_cast<int>(y);
        }
        x[i] = static_cast<int16_t>(out);
        if (std::abs(out) > m_clip) {
            m_gain -= 0.5;
            m_backOff += 0.5;
            a = std::pow(10.0, m_gain / 20.0);
        }
    }
    ++m_frames;
}
