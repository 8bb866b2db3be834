#include "G7221Transform.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

// The type IV DCT of N = 320 points runs as a complex FFT of N/2 points: the
// even inputs form the real and the mirrored odd inputs the imaginary part,
// rotated by exp(-i pi n / N) before and by exp(-i pi (k + 1/4) / N) after
// the FFT; the orthonormal scale sqrt(2/N) goes into the rotation after it.
// The FFT of 160 = 5 x 32 points is five radix-2 FFTs of 32 points over the
// inputs n = 5 m + b (block b), whose outputs, rotated by exp(-2 pi i b k /
// 160), meet in 5-point DFTs.
struct G7221Transform::Tables
{
    float window[kSize];   // sin(pi (n + 0.5) / 640), n = 0..319
    float preCos[kHalf], preSin[kHalf];
    float postCos[kHalf], postSin[kHalf];
    // Where pre-rotated pair n goes: its block, at the bit-reversed place
    // the radix-2 FFT reads it from.
    uint8_t order[kHalf];
    // Twiddles of the radix-2 stages of span 4, 8 and 16: stage s holds
    // exp(-i pi j / s), j = 0..s-1, from index s - 4.
    float stageCos[28], stageSin[28];
    // Twiddles of the radix-5 stage: exp(-2 pi i b k / 160) at [b - 1][k].
    float joinCos[kBlocks - 1][kBlock], joinSin[kBlocks - 1][kBlock];

    Tables();
};

namespace
{
const double kPi = 3.14159265358979323846;

// cos and sin of 2 pi k / 5, k = 1, 2.
const float kC1 = 0.309016994374947424f;
const float kC2 = -0.809016994374947424f;
const float kS1 = 0.951056516295153572f;
const float kS2 = 0.587785252292473129f;
}

G7221Transform::Tables::Tables()
{
    for (int n = 0; n < kSize; ++n)
        window[n] = (float)sin(kPi * (n + 0.5) / (2.0 * kSize));
    const double scale = sqrt(2.0 / kSize);
    for (int n = 0; n < kHalf; ++n)
    {
        double a = -kPi * n / kSize;
        preCos[n] = (float)cos(a);
        preSin[n] = (float)sin(a);
        double b = -kPi * (n + 0.25) / kSize;
        postCos[n] = (float)(scale * cos(b));
        postSin[n] = (float)(scale * sin(b));
        int m = n / kBlocks;
        int reversed = 0;
        for (int bit = 1; bit < kBlock; bit <<= 1)
            reversed = (reversed << 1) | ((m & bit) ? 1 : 0);
        order[n] = (uint8_t)((n % kBlocks) * kBlock + reversed);
    }
    for (int s = 4; s < kBlock; s *= 2)
    {
        for (int j = 0; j < s; ++j)
        {
            stageCos[s - 4 + j] = (float)cos(kPi * j / s);
            stageSin[s - 4 + j] = (float)-sin(kPi * j / s);
        }
    }
    for (int b = 1; b < kBlocks; ++b)
    {
        for (int k = 0; k < kBlock; ++k)
        {
            double a = -2.0 * kPi * b * k / kHalf;
            joinCos[b - 1][k] = (float)cos(a);
            joinSin[b - 1][k] = (float)sin(a);
        }
    }
}

const G7221Transform::Tables& G7221Transform::SharedTables()
{
    static const Tables tables;
    return tables;
}

G7221Transform::G7221Transform() : m_tables(SharedTables())
{
    Reset();
}

void G7221Transform::Reset()
{
    memset(m_history, 0, sizeof(m_history));
    memset(m_overlap, 0, sizeof(m_overlap));
}

// In-place radix-2 FFT of 32 points whose input is in bit-reversed order.
void G7221Transform::Fft32(const Tables& t, float* re, float* im)
{
    // Spans 1 and 2 at once: their twiddles are 1 and -i.
    for (int g = 0; g < kBlock; g += 4)
    {
        float r0 = re[g] + re[g + 1], r1 = re[g] - re[g + 1];
        float r2 = re[g + 2] + re[g + 3], r3 = re[g + 2] - re[g + 3];
        float i0 = im[g] + im[g + 1], i1 = im[g] - im[g + 1];
        float i2 = im[g + 2] + im[g + 3], i3 = im[g + 2] - im[g + 3];
        re[g] = r0 + r2;
        im[g] = i0 + i2;
        re[g + 2] = r0 - r2;
        im[g + 2] = i0 - i2;
        re[g + 1] = r1 + i3;
        im[g + 1] = i1 - r3;
        re[g + 3] = r1 - i3;
        im[g + 3] = i1 + r3;
    }
    for (int s = 4; s < kBlock; s *= 2)
    {
        const float* wc = t.stageCos + s - 4;
        const float* ws = t.stageSin + s - 4;
        for (int g = 0; g < kBlock; g += 2 * s)
        {
            float* pr = re + g;
            float* pi = im + g;
            for (int j = 0; j < s; ++j)
            {
                float tr = pr[s + j] * wc[j] - pi[s + j] * ws[j];
                float ti = pr[s + j] * ws[j] + pi[s + j] * wc[j];
                pr[s + j] = pr[j] - tr;
                pi[s + j] = pi[j] - ti;
                pr[j] += tr;
                pi[j] += ti;
            }
        }
    }
}

void G7221Transform::DctIV(const float* in, float* out) const
{
    const Tables& t = m_tables;
    float re[kHalf], im[kHalf];
    for (int n = 0; n < kHalf; ++n)
    {
        float a = in[2 * n];
        float b = in[kSize - 1 - 2 * n];
        int d = t.order[n];
        re[d] = a * t.preCos[n] - b * t.preSin[n];
        im[d] = a * t.preSin[n] + b * t.preCos[n];
    }
    for (int b = 0; b < kBlocks; ++b)
        Fft32(t, re + b * kBlock, im + b * kBlock);

    for (int k = 0; k < kBlock; ++k)
    {
        // The blocks' outputs k, rotated, then their 5-point DFT gives the
        // FFT's outputs k + 32 q, q = 0..4.
        float yr[kBlocks], yi[kBlocks];
        yr[0] = re[k];
        yi[0] = im[k];
        for (int b = 1; b < kBlocks; ++b)
        {
            float c = t.joinCos[b - 1][k], s = t.joinSin[b - 1][k];
            float xr = re[b * kBlock + k], xi = im[b * kBlock + k];
            yr[b] = xr * c - xi * s;
            yi[b] = xr * s + xi * c;
        }
        float sr14 = yr[1] + yr[4], si14 = yi[1] + yi[4];
        float dr14 = yr[1] - yr[4], di14 = yi[1] - yi[4];
        float sr23 = yr[2] + yr[3], si23 = yi[2] + yi[3];
        float dr23 = yr[2] - yr[3], di23 = yi[2] - yi[3];
        float zr[kBlocks], zi[kBlocks];
        zr[0] = yr[0] + sr14 + sr23;
        zi[0] = yi[0] + si14 + si23;
        float ar1 = yr[0] + kC1 * sr14 + kC2 * sr23, ai1 = yi[0] + kC1 * si14 + kC2 * si23;
        float ar2 = yr[0] + kC2 * sr14 + kC1 * sr23, ai2 = yi[0] + kC2 * si14 + kC1 * si23;
        float br1 = kS1 * dr14 + kS2 * dr23, bi1 = kS1 * di14 + kS2 * di23;
        float br2 = kS2 * dr14 - kS1 * dr23, bi2 = kS2 * di14 - kS1 * di23;
        zr[1] = ar1 + bi1;
        zi[1] = ai1 - br1;
        zr[4] = ar1 - bi1;
        zi[4] = ai1 + br1;
        zr[2] = ar2 + bi2;
        zi[2] = ai2 - br2;
        zr[3] = ar2 - bi2;
        zi[3] = ai2 + br2;
        for (int q = 0; q < kBlocks; ++q)
        {
            int m = k + q * kBlock;
            out[2 * m] = zr[q] * t.postCos[m] - zi[q] * t.postSin[m];
            out[kSize - 1 - 2 * m] = -(zr[q] * t.postSin[m] + zi[q] * t.postCos[m]);
        }
    }
}

void G7221Transform::Analyse(const float* samples, float* coefs)
{
    float folded[kSize];
    const float* w = m_tables.window;
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
    const float* w = m_tables.window;
    for (int i = 0; i < kHalf; ++i)
    {
        float s = w[i];
        float c = w[kSize - 1 - i];
        float p = m_overlap[i];
        float q = u[kHalf - 1 - i];
        samples[i] = c * p + s * q;
        samples[kSize - 1 - i] = c * q - s * p;
    }
    for (int i = 0; i < kHalf; ++i)
        m_overlap[i] = u[kHalf + i];
}
