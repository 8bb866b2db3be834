#include "AecSynthesisBank.h"

#include <cmath>
#include <cstring>

#include "AecTransform.h"

namespace SonvexDevice {

AecSynthesisBank::AecSynthesisBank(int decimation, int channels,
                                   const std::vector<float>& prototype)
    : m_decimation(decimation), m_channels(channels)
{
    const double pi = 3.14159265358979323846;
    const int L = static_cast<int>(prototype.size());
    for (int i = 0; i < L; ++i) {
        double g = prototype[L - 1 - i];
        m_taps.emplace_back(static_cast<float>(decimation * g * std::cos(pi * i / channels)),
                            static_cast<float>(decimation * g * std::sin(pi * i / channels)));
    }
    for (int i = 0; i < channels; ++i)
        m_twiddle.emplace_back(static_cast<float>(std::cos(2.0 * pi * i / channels)),
                               static_cast<float>(-std::sin(2.0 * pi * i / channels)));
    m_work.assign(channels, Complex());
    m_scratch.assign(channels, Complex());
    m_overlap.assign(L, 0.0f);
}

void AecSynthesisBank::Reset()
{
    std::fill(m_overlap.begin(), m_overlap.end(), 0.0f);
    m_phase = 0;
}

void AecSynthesisBank::Run(const Complex* spectrum, float* frame)
{
    const int N = m_channels, D = m_decimation;
    const int L = static_cast<int>(m_overlap.size());
    for (int i = 0; i < N; ++i) {
        int index = static_cast<int>((static_cast<long long>(i) * D * m_phase) % N);
        m_work[i] = spectrum[i] * m_twiddle[index];
    }
    AecTransform::Forward(m_work.data(), N);
    const int r = (m_phase * D) % N;
    for (int m = 0; m < N; ++m)
        m_scratch[m] = m_work[(m + r) % N];
    for (int base = 0; base < L; base += N)
        for (int m = 0; m < N; ++m) {
            const Complex& a = m_scratch[m];
            const Complex& b = m_taps[base + m];
            m_overlap[base + m] += a.real() * b.real() - a.imag() * b.imag();
        }
    for (int i = 0; i < D; ++i)
        frame[i] = m_overlap[i];
    memmove(&m_overlap[0], &m_overlap[D], sizeof(float) * (L - D));
    std::fill(m_overlap.end() - D, m_overlap.end(), 0.0f);
    m_phase = (m_phase + 1) % N;
}

} // namespace SonvexDevice
