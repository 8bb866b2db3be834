#include "G7221Transform.h"

#include <math.h>
#include <string.h>

static const double kPi = 3.14159265358979323846;

G7221Transform::G7221Transform()
{
    for (int n = 0; n < kSize; ++n)
        m_window[n] = (float)sin(kPi * (n + 0.5) / (2.0 * kSize));
    // DCT-IV through a complex FFT of half the length: the even inputs form
    // the real and the mirrored odd inputs the imaginary part, rotated before
    // and after the FFT; the orthonormal scale sqrt(2/N) goes into the
    // rotation after it.
    const double scale = sqrt(2.0 / kSize);
    for (int n = 0; n < kHalf; ++n)
    {
        double a = -kPi * n / kSize;
        m_preTwiddle[n] = Complex((float)cos(a), (float)sin(a));
        double b = -kPi * (n + 0.25) / kSize;
        m_postTwiddle[n] = Complex((float)(scale * cos(b)), (float)(scale * sin(b)));
        double c = -2.0 * kPi * n / kHalf;
        m_fftTwiddle[n] = Complex((float)cos(c), (float)sin(c));
    }
    Reset();
}

void G7221Transform::Reset()
{
    memset(m_history, 0, sizeof(m_history));
    memset(m_overlap, 0, sizeof(m_overlap));
}

void G7221Transform::Fft(const Complex* in, Complex* out, int n, int stride) const
{
    if (n == 1)
    {
        out[0] = in[0];
        return;
    }
    int p = (n % 2 == 0) ? 2 : (n % 5 == 0 ? 5 : n);
    int m = n / p;
    for (int r = 0; r < p; ++r)
        Fft(in + r * stride, out + r * m, m, stride * p);
    const int step = kHalf / n;
    Complex t[5];
    for (int k = 0; k < m; ++k)
    {
        for (int r = 0; r < p; ++r)
            t[r] = out[r * m + k];
        for (int q = 0; q < p; ++q)
        {
            Complex sum(0.0f, 0.0f);
            int idx = k + q * m;
            for (int r = 0; r < p; ++r)
                sum += t[r] * m_fftTwiddle[((r * idx) % n) * step];
            out[k + q * m] = sum;
        }
    }
}

void G7221Transform::DctIV(const float* in, float* out) const
{
    Complex z[kHalf];
    Complex y[kHalf];
    for (int n = 0; n < kHalf; ++n)
        z[n] = Complex(in[2 * n], in[kSize - 1 - 2 * n]) * m_preTwiddle[n];
    Fft(z, y, kHalf, 1);
    for (int k = 0; k < kHalf; ++k)
    {
        Complex v = y[k] * m_postTwiddle[k];
        out[2 * k] = v.real();
        out[kSize - 1 - 2 * k] = -v.imag();
    }
}

void G7221Transform::Analyse(const float* samples, float* coefs)
{
    float folded[kSize];
    const float* w = m_window;
    for (int i = 0; i < kHalf; ++i)
    {
        folded[i] = w[kHalf - 1 - i] * m_history[kHalf - 1 - i] + w[kHalf + i] * m_history[kHalf + i];
        folded[kHalf + i] = w[kSize - 1 - i] * samples[i] - w[i] * samples[kSize - 1 - i];
    }
    memcpy(m_history, samples, sizeof(m_history));
    DctIV(folded, coefs);
}

void G7221Transform::Synthesise(const float* coefs, float* samples)
{
    float u[kSize];
    DctIV(coefs, u);
    // Each pair of samples (i, 319 - i) of the frame being finished appears
    // in the second half of the last transform as c a - s b and in the first
    // half of this one as s a + c b, with s = w[i] and c = w[319 - i].
    for (int i = 0; i < kHalf; ++i)
    {
        float s = m_window[i];
        float c = m_window[kSize - 1 - i];
        float p = m_overlap[i];
        float q = u[kHalf - 1 - i];
        samples[i] = c * p + s * q;
        samples[kSize - 1 - i] = c * q - s * p;
    }
    for (int i = 0; i < kHalf; ++i)
        m_overlap[i] = u[kHalf + i];
}
