#pragma once

namespace RavoEngine {

// The noise suppressor's transform pair: 256 real points through a 128-point
// complex transform. A spectrum is stored as X(0), X(128), then the real and
// imaginary parts of X(1)..X(127). Forward is unscaled; inverse includes the
// factor 1/256, so forward then inverse returns the samples.
class RealFft256
{
public:
    enum { SIZE = 256, HALF = 128 };

    // In place; size must be 256, else " fft_real() size error" is printed and
    // nothing changes.
    static void Forward(double* data, int size = SIZE);
    static void Inverse(double* data, int size = SIZE);
    // In place on 128 interleaved complex values; inverse scales by 1/128.
    // Any other size prints " FFT size error".
    static void Complex(double* data, int size, bool inverse);
};

} // namespace RavoEngine
