#pragma once
#include <complex>
#include <vector>

namespace SonvexFilterCore {

// A complex discrete Fourier transform (forward, unscaled) of a size made of
// the factors 2, 3, 4 and 5, by mixed-radix decimation in time.
class Fft
{
public:
    explicit Fft(int size);
    virtual ~Fft() = default;

    bool IsValid() const { return m_valid; }
    int GetSize() const { return m_size; }
    // in and out must not overlap.
    void Forward(const std::complex<float>* in, std::complex<float>* out) const;

private:
    void Step(const std::complex<float>* in, std::complex<float>* out, int n, int stride, size_t level) const;

    int m_size;
    bool m_valid = false;
    std::vector<int> m_factors;
    std::vector<std::complex<float>> m_twiddles;   // exp(-2 pi i t / size)
};

} // namespace SonvexFilterCore
