#pragma once
#include <vector>

// Modified discrete cosine transform of N coefficients over 2N samples with a
// Kaiser-Bessel-derived window (alpha 4); the inverse is windowed too, so
// overlap-adding consecutive inverse blocks gives the input back.
class Mdct
{
public:
    explicit Mdct(int n);
    virtual ~Mdct() = default;

    int GetSize() const { return m_n; }
    // in: 2N samples; out: N coefficients.
    void Forward(const float* in, float* out) const;
    // in: N coefficients; out: 2N windowed samples to overlap-add.
    void Inverse(const float* in, float* out) const;

private:
    int m_n;
    std::vector<float> m_window;
    std::vector<float> m_cos;   // [2N][N]
};
