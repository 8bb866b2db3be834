#include "G7221Transform.h"

#include <math.h>
#include <stdint.h>
#include <string.h>

// The type IV DCT of N = 320 points runs as a complex FFT of N/2 points: the
// even inputs form the real and the mirrored odd inputs the imaginary part,
// rotated by exp(-i pi n / N) before and by exp(-i pi (k + 1/4) / N) after
// the FFT; the orthonormal scale sqrt(2/N) goes into the rotation after it.
// The FFT of 160 = 32 x 5 points, as 32 and 5 are coprime, needs no twiddles
// between its two factors (the prime factor algorithm): input n = (5 a + 32
// b) mod 160 is point a of the 32-point FFT of block b, and point k of
// block b's FFT goes into the 5-point DFT k, whose output q is the FFT's
// output (65 k + 96 q) mod 160.
struct G7221Transform::Tables
{
    float window[kSize]; // sin(pi (n + 0.5) / 640), n = 0..319
    float preCos[kHalf], preSin[kHalf];
    float postCos[kHalf], postSin[kHalf];
    // Where pre-rotated pair n goes: its block, at the bit-reversed place
    // the radix-2 FFT reads it from.
    uint8_t order[kHalf];
    // Which FFT output the 5-point DFT k gives as its output q: [k][q].
    uint8_t output[kBlock][kBlocks];
    // Twiddles of the radix-2 stages of span 8 and 16: stage s holds
    // exp(-i pi j / s), j = 0..s-1, from index s - 8.
    float stageCos[24], stageSin[24];

    Tables();
};

namespace {
const double kPi = 3.14159265358979323846;

// The 5-point DFT's constants: (cos(2 pi / 5) + cos(4 pi / 5)) / 2 - 1,
// (cos(2 pi / 5) - cos(4 pi / 5)) / 2, sin(2 pi / 5) and sin(4 pi / 5).
const float kD1 = -1.25f;
const float kD2 = 0.559016994374947424f;
const float kS1 = 0.951056516295153572f;
const float kS2 = 0.587785252292473129f;
// sqrt(1/2)
const float kHalfRoot2 = 0.707106781186547524f;
} // namespace

G7221Transform::Tables::Tables()
{
    for (int n = 0; n < kSize; ++n)
        window[n] = (float)sin(kPi * (n + 0.5) / (2.0 * kSize));
    const double scale = sqrt(2.0 / kSize);
    for (int n = 0; n < kHalf; ++n) {
        double a = -kPi * n / kSize;
        preCos[n] = (float)cos(a);
        preSin[n] = (float)sin(a);
        double b = -kPi * (n + 0.25) / kSize;
        postCos[n] = (float)(scale * cos(b));
        postSin[n] = (float)(scale * sin(b));
        const int point = (n * 13) % kBlock; // 13 = 1/5 modulo 32
        const int block = (n * 3) % kBlocks; // 3 = 1/32 modulo 5
        int reversed = 0;
        for (int bit = 1; bit < kBlock; bit <<= 1)
            reversed = (reversed << 1) | ((point & bit) ? 1 : 0);
        order[n] = (uint8_t)(block * kBlock + reversed);
    }
    for (int k = 0; k < kBlock; ++k)
        for (int q = 0; q < kBlocks; ++q)
            output[k][q] = (uint8_t)((65 * k + 96 * q) % kHalf);
    for (int s = 8; s < kBlock; s *= 2) {
        for (int j = 0; j < s; ++j) {
            stageCos[s - 8 + j] = (float)cos(kPi * j / s);
            stageSin[s - 8 + j] = (float)-sin(kPi * j / s);
        }
    }
}

const G7221Transform::Tables& G7221Transform::SharedTables()
{
    static const Tables tables;
    return tables;
}

G7221Transform::G7221Transform() : m_tables(SharedTables()) { Reset(); }

void G7221Transform::Reset()
{
    memset(m_history, 0, sizeof(m_history));
    memset(m_overlap, 0, sizeof(m_overlap));
}

// In-place radix-2 FFT of 32 points whose input is in bit-reversed order.
// Twiddles 1, -i and (+-1 - i) sqrt(1/2) take no general product.
void G7221Transform::Fft32(const Tables& t, float* re, float* im)
{
    // Spans 1 and 2 at once: their twiddles are 1 and -i.
    for (int g = 0; g < kBlock; g += 4) {
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
    // Span 4: twiddles 1, (1 - i) sqrt(1/2), -i, (-1 - i) sqrt(1/2).
    for (int g = 0; g < kBlock; g += 8) {
        float* pr = re + g;
        float* pi = im + g;
        float tr[4], ti[4];
        tr[0] = pr[4];
        ti[0] = pi[4];
        tr[1] = (pr[5] + pi[5]) * kHalfRoot2;
        ti[1] = (pi[5] - pr[5]) * kHalfRoot2;
        tr[2] = pi[6];
        ti[2] = -pr[6];
        tr[3] = (pi[7] - pr[7]) * kHalfRoot2;
        ti[3] = -(pr[7] + pi[7]) * kHalfRoot2;
        for (int j = 0; j < 4; ++j) {
            pr[4 + j] = pr[j] - tr[j];
            pi[4 + j] = pi[j] - ti[j];
            pr[j] += tr[j];
            pi[j] += ti[j];
        }
    }
    // Spans 8 and 16.
    for (int s = 8; s < kBlock; s *= 2) {
        const float* wc = t.stageCos + s - 8;
        const float* ws = t.stageSin + s - 8;
        for (int g = 0; g < kBlock; g += 2 * s) {
            float* pr = re + g;
            float* pi = im + g;
            for (int j = 0; j < s; ++j) {
                float tr, ti;
                if (j == 0) {
                    tr = pr[s];
                    ti = pi[s];
                } else if (2 * j == s) {
                    tr = pi[s + j];
                    ti = -pr[s + j];
                } else {
                    tr = pr[s + j] * wc[j] - pi[s + j] * ws[j];
                    ti = pr[s + j] * ws[j] + pi[s + j] * wc[j];
                }
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
    for (int n = 0; n < kHalf; ++n) {
        float a = in[2 * n];
        float b = in[kSize - 1 - 2 * n];
        int d = t.order[n];
        re[d] = a * t.preCos[n] - b * t.preSin[n];
        im[d] = a * t.preSin[n] + b * t.preCos[n];
    }
    for (int b = 0; b < kBlocks; ++b)
        Fft32(t, re + b * kBlock, im + b * kBlock);

    for (int k = 0; k < kBlock; ++k) {
        // Output k of the five blocks through a 5-point DFT.
        const float* yr = re + k;
        const float* yi = im + k;
        float sr14 = yr[kBlock] + yr[4 * kBlock], si14 = yi[kBlock] + yi[4 * kBlock];
        float dr14 = yr[kBlock] - yr[4 * kBlock], di14 = yi[kBlock] - yi[4 * kBlock];
        float sr23 = yr[2 * kBlock] + yr[3 * kBlock], si23 = yi[2 * kBlock] + yi[3 * kBlock];
        float dr23 = yr[2 * kBlock] - yr[3 * kBlock], di23 = yi[2 * kBlock] - yi[3 * kBlock];
        float sr = sr14 + sr23, si = si14 + si23;
        float zr[kBlocks], zi[kBlocks];
        zr[0] = yr[0] + sr;
        zi[0] = yi[0] + si;
        float baseR = zr[0] + kD1 * sr, baseI = zi[0] + kD1 * si;
        float mr = kD2 * (sr14 - sr23), mi = kD2 * (si14 - si23);
        float ar1 = baseR + mr, ai1 = baseI + mi;
        float ar2 = baseR - mr, ai2 = baseI - mi;
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
        for (int q = 0; q < kBlocks; ++q) {
            int m = t.output[k][q];
            out[2 * m] = zr[q] * t.postCos[m] - zi[q] * t.postSin[m];
            out[kSize - 1 - 2 * m] = -(zr[q] * t.postSin[m] + zi[q] * t.postCos[m]);
        }
    }
}

void G7221Transform::Analyse(const float* samples, float* coefs)
{
    float folded[kSize];
    const float* w = m_tables.window;
    for (int i = 0; i < kHalf; ++i) {
        folded[i] =
            w[kHalf - 1 - i] * m_history[kHalf - 1 - i] + w[kHalf + i] * m_history[kHalf + i];
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
    for (int i = 0; i < kHalf; ++i) {
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
