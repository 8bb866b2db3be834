#pragma once
#include <complex>

namespace SonvexDevice {

// The discrete Fourier transform of the echo canceller's filter banks:
// X(k) = sum x(n) e^(+j 2 pi k n / N), in place and unscaled, for N from 2 to
// 256. Powers of two run radix-2; N = 2^b x n (n odd) transforms the n
// interleaved subsequences and combines them by Horner's rule.
class AecTransform
{
public:
    typedef std::complex<float> Complex;
    enum { MAX_POINTS = 256 };

    // Returns false (data untouched) when n is outside 2..256.
    static bool Forward(Complex* data, int n);

private:
    static void Radix2(Complex* data, int n);
    static void BuildTable();
    static float s_cos[128];
    static float s_sin[128];
    static bool s_built;
};

} // namespace SonvexDevice
