#include "AecAnalysisBank.h"

#include <cmath>
#include <cstring>

#include "AecTransform.h"

namespace SonvexDevice {

AecAnalysisBank::AecAnalysisBank(int decimation, int channels, const std::vector<float>& prototype)
    : m_decimation(decimation), m_channels(channels), m_prototype(prototype)
{
    m_history.assign(m_prototype.size(), 0.0f);
    m_work.assign(m_prototype.size(), 0.0f);
    const double pi = 3.14159265358979323846;
    for (int m = 0; m < channels; ++m)
        m_twiddle.emplace_back(static_cast<float>(std::cos(pi * m / channels)),
                               static_cast<float>(std::sin(pi * m / channels)));
}

void AecAnalysisBank::Reset() { std::fill(m_history.begin(), m_history.end(), 0.0f); }

void AecAnalysisBank::Run(const float* frame, Complex* spectrum)
{
    const int L = static_cast<int>(m_history.size());
    const int D = m_decimation, N = m_channels;
    memmove(&m_history[D], &m_history[0], sizeof(float) * (L - D));
    for (int t = 0; t < D; ++t)
        m_history[t] = frame[D - 1 - t];
    for (int t = 0; t < L; ++t)
        m_work[t] = m_prototype[t] * m_history[t];
    for (int m = 0; m < N; ++m) {
        float v = 0.0f;
        float sign = 1.0f;
        for (int seg = 0; seg * N < L; ++seg) {
            v += sign * m_work[m + seg * N];
            sign = -sign;
        }
        spectrum[m] = v * m_twiddle[m];
    }
    AecTransform::Forward(spectrum, N);
}

} // namespace SonvexDevice
