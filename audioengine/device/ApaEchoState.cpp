#include "ApaEchoState.h"

#include <cmath>
#include <cstring>

namespace RavoTDevice {

namespace {
const int kOrder = 2;
const int kSpare = 256;
const int kSavedCopies = 80;
const double kStep = 0.2;
const double kDitherIn = 0.5 * 0.0031622776601683794;   // 0.5 x 10^-2.5
const double kDitherGain = 0.5 * 3.1622776601683794e-7; // 0.5 x 10^-6.5
const double kMinGain = 0.17803;                        // 10^-0.7495
} // namespace

double ApaEchoState::MinStd::Next()
{
    // Schrage's method for 16807 x state mod (2^31 - 1).
    int32_t hi = state / 127773;
    int32_t lo = state % 127773;
    int32_t t = 16807 * lo - 2836 * hi;
    if (t <= 0)
        t += 2147483647;
    state = t;
    return state / 2147483647.0;
}

double ApaEchoState::HighPass::Run(double x)
{
    const double b0 = 0.94916200463174, b1 = -1.89831966120562, b2 = 0.94916200463174;
    const double a1 = -1.95305566528405, a2 = 0.95445200193214;
    double y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return y;
}

ApaEchoState::ApaEchoState(int blocks, bool coherenceGain) : m_coherence(coherenceGain)
{
    if (blocks < 32)
        blocks = 32;
    if (blocks > 128)
        blocks = 128;
    m_length = blocks * 8;
    m_w.assign(m_length, 0.0);
    m_x.assign(m_length + kOrder + kSpare, 0.0);
    m_pos = kSpare;
    m_rinv[0][0] = m_rinv[1][1] = 100.0;
    m_rinv[0][1] = m_rinv[1][0] = 0.0;
    m_saved.assign(kSavedCopies, std::vector<double>(m_length, 0.0));
}

namespace {
// Sherman-Morrison on a 2x2 inverse: (R + s v v^T)^-1 from R^-1, s = +-1.
void RankOne(double r[2][2], const double v[2], double sign)
{
    double u0 = r[0][0] * v[0] + r[0][1] * v[1];
    double u1 = r[1][0] * v[0] + r[1][1] * v[1];
    double denom = 1.0 + sign * (v[0] * u0 + v[1] * u1);
    if (std::fabs(denom) < 1e-12)
        return;
    double k = sign / denom;
    r[0][0] -= k * u0 * u0;
    r[0][1] -= k * u0 * u1;
    r[1][0] -= k * u1 * u0;
    r[1][1] -= k * u1 * u1;
}
} // namespace

short ApaEchoState::Process(short farSample, short mic)
{
    double farIn = farSample / 32768.0 + (m_dither.Next() - 0.5) * kDitherIn;
    double nearIn = mic / 32768.0 + (m_dither.Next() - 0.5) * kDitherIn;
    double far = m_hpFar.Run(farIn);
    double nearSig = m_hpMic.Run(nearIn);

    // Far sample into the history (written downwards, newest at m_pos).
    if (--m_pos < 0) {
        memmove(&m_x[kSpare + 1], &m_x[0], (m_length + kOrder - 1) * sizeof(double));
        m_pos = kSpare;
    }
    m_x[m_pos] = far;
    const double* x = &m_x[m_pos];

    // Correlation inverse: the entering vector in, the leaving one out.
    double in[2] = {x[0], x[1]};
    double out[2] = {x[m_length], x[m_length + 1]};
    RankOne(m_rinv, in, 1.0);
    RankOne(m_rinv, out, -1.0);

    double estimate = 0;
    for (int j = 0; j < m_length; ++j)
        estimate += m_w[j] * x[j];
    double e0 = nearSig - estimate;
    // The second error is the previous sample's, aged by (1 - step).
    double e1 = 0.8 * m_prevError;
    m_prevError = e0;
    double g0 = kStep * (m_rinv[0][0] * e0 + m_rinv[0][1] * e1);
    double g1 = kStep * (m_rinv[1][0] * e0 + m_rinv[1][1] * e1);
    double change = 0;
    for (int j = 0; j < m_length; ++j) {
        double d = g0 * x[j] + g1 * x[j + 1];
        m_w[j] += d;
        change += d * d;
    }

    // Settled filters are saved; a sudden jump of the update energy means
    // divergence, and an older copy is put back for a while.
    m_update = 0.9 * m_update + 0.1 * (change + m_noise.Next() * 0.00008);
    double level = 10.0 * std::log10(m_update + 1e-6);
    ++m_count;
    if (level < -40.0) {
        if (m_count % 32 == 0) {
            m_saved[m_nextSlot] = m_w;
            m_nextSlot = (m_nextSlot + kSavedCopies - 1) % kSavedCopies;
        }
        m_floor = 0.995 * m_floor + 0.005 * level;
    }
    if (m_count > 3360 && level > m_floor + 10.0)
        m_hold = 1280;
    if (m_hold > 0) {
        m_w = m_saved[(m_nextSlot + kSavedCopies - 1) % kSavedCopies];
        --m_hold;
    }

    double r = nearSig;
    for (int j = 0; j < m_length; ++j)
        r -= m_w[j] * x[j];

    if (m_coherence) {
        double rd = r + (m_dither.Next() - 0.5) * kDitherGain;
        double nd = nearSig + (m_dither.Next() - 0.5) * kDitherGain;
        m_a = 0.98 * m_a + 0.02 * (rd - nd) * (rd - nd);
        m_b = 0.98 * m_b + 0.02 * std::fabs(rd * nd);
        double g = m_b / (m_b + 0.75 * m_a);
        if (g < kMinGain)
            g = kMinGain;
        r *= g;
    }
    double y = r * 32768.0;
    if (y > 32767.0)
        y = 32767.0;
    if (y < -32768.0)
        y = -32768.0;
    return static_cast<short>(y);
}

} // namespace RavoTDevice
