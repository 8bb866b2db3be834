#pragma once
#include <complex>

// The codec's modulated lapped transform: 320 new samples and the 320 of the
// previous frame, windowed by sin(pi (n + 0.5) / 640) over 640 samples, folded
// and turned into 320 coefficients by an orthonormal type IV DCT; and its
// inverse with the overlap-add that rebuilds the samples of the previous
// frame. Each object keeps the state of one direction of one stream.
class G7221Transform
{
public:
    enum { kSize = 320 };

    G7221Transform();
    virtual ~G7221Transform() {}

    // Forward: samples (320) -> coefficients (320). Keeps the samples.
    void Analyse(const float* samples, float* coefs);
    // Inverse: coefficients (320) -> 320 samples, one frame behind the
    // coefficients' own frame. Keeps half of the transform output.
    void Synthesise(const float* coefs, float* samples);
    // Clears the kept samples.
    void Reset();

    // Orthonormal type IV DCT of kSize points (its own inverse).
    void DctIV(const float* in, float* out) const;

private:
    typedef std::complex<float> Complex;
    enum { kHalf = kSize / 2 };

    void Fft(const Complex* in, Complex* out, int n, int stride) const;

    float m_window[kSize];       // sin(pi (n + 0.5) / 640), n = 0..319
    float m_history[kSize];      // previous frame's samples (analysis)
    float m_overlap[kHalf];      // second half of the last inverse DCT
    Complex m_preTwiddle[kHalf];
    Complex m_postTwiddle[kHalf];
    Complex m_fftTwiddle[kHalf];
};
