#pragma once
#include <complex>
#include <vector>

#include "Fft.h"

namespace SonvexFilterCore {

// Modified discrete cosine transform of N coefficients over 2N samples with a
// Kaiser-Bessel-derived window (alpha 4), computed through a DCT-IV of size N
// on an N/2-point complex FFT. The inverse is windowed too, so overlap-adding
// consecutive inverse blocks gives the input back. N must be even with N/2
// made of the factors 2, 3 and 5.
class Mdct
{
public:
    explicit Mdct(int n);
    virtual ~Mdct() = default;

    int GetSize() const { return m_n; }
    bool IsValid() const { return m_fft.IsValid(); }
    // in: 2N samples; out: N coefficients.
    void Forward(const float* in, float* out) const;
    // in: N coefficients; out: 2N windowed samples to overlap-add.
    void Inverse(const float* in, float* out) const;

private:
    void DctIv(const float* in, float* out) const;

    int m_n;
    std::vector<float> m_window;
    Fft m_fft;
    std::vector<std::complex<float>> m_pre, m_post;
    mutable std::vector<std::complex<float>> m_a, m_b;
    mutable std::vector<float> m_u;
};

} // namespace SonvexFilterCore
