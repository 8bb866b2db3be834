#include "AgcStage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace RavoEngine {

AgcStage::AgcStage()
    : m_filter(0.99339000708948, -1.98677999683081, 0.99339000708948, -1.99824894455516,
               0.99825067873935)
{}

bool AgcStage::Create(int rate, int frameMs, double targetDb, double minGainDb, double maxGainDb)
{
    m_valid = false;
    if ((rate != 8000 && rate != 16000) || (frameMs != 10 && frameMs != 20))
        return false;
    if (!AudioCommon::CGainControl::ValidSettings(targetDb, minGainDb, maxGainDb))
        return false;
    m_rate = rate;
    m_frame = rate * frameMs / 1000;
    m_core.Reset(rate, targetDb, minGainDb, maxGainDb);
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
    m_filter.Process(samples, count);
    const int h = static_cast<int>(m_history.size());
    memmove(m_history.data(), m_history.data() + count, (h - count) * sizeof(double));
    for (int i = 0; i < count; ++i)
        m_history[h - count + i] = samples[i];
    const double r = Likelihood();
    m_core.Process(samples, count, r);
    ++m_frameCount;
    return true;
}

} // namespace RavoEngine
