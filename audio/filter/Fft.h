#pragma once
#include <complex>
#include <vector>

namespace SonvexFilterCore {

// A complex discrete Fourier transform (forward, unscaled) of a size made of
// the factors 2, 3, 4 and 5, by mixed-radix decimation in time: the input is
// read in digit-reversed order, then each stage combines its sub-transforms in
// place with twiddles made once at construction.
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
    struct Stage
    {
        int radix;
        int span;       // length of the sub-transforms this stage combines
        size_t twiddle; // first of (radix - 1) x span twiddles in m_twiddles
    };

    void Order(int in, int stride, int out, int n, size_t level);

    int m_size;
    bool m_valid = false;
    std::vector<Stage> m_stages;   // smallest sub-transforms first
    std::vector<int> m_order;      // out[i] = in[m_order[i]] before the first stage
    std::vector<float> m_twiddles; // per stage and k: W^(q k) for q = 1..radix-1, as re, im
};

} // namespace SonvexFilterCore
