#include "Fft.h"

#include <algorithm>
#include <cmath>

namespace SonvexFilterCore {

namespace {

struct Cx
{
    float re, im;
};

inline Cx Add(Cx a, Cx b) { return {a.re + b.re, a.im + b.im}; }
inline Cx Sub(Cx a, Cx b) { return {a.re - b.re, a.im - b.im}; }
inline Cx Mul(Cx a, const float* w)
{
    return {a.re * w[0] - a.im * w[1], a.re * w[1] + a.im * w[0]};
}
inline Cx Scale(Cx a, float s) { return {a.re * s, a.im * s}; }
// -i a
inline Cx MinusI(Cx a) { return {a.im, -a.re}; }

// Sub-transforms of length m at z[0], z[m], ..., z[(p-1) m], combined into
// one of length p m in place; the k-th twiddles of the stage at w.
void Radix2(Cx* z, int m, const float* tw)
{
    for (int k = 0; k < m; ++k) {
        const Cx a0 = z[k], a1 = Mul(z[m + k], tw + 2 * k);
        z[k] = Add(a0, a1);
        z[m + k] = Sub(a0, a1);
    }
}

void Radix3(Cx* z, int m, const float* tw)
{
    const float h = 0.866025403784438647f; // sin(2 pi / 3)
    for (int k = 0; k < m; ++k) {
        const float* w = tw + 4 * k;
        const Cx a0 = z[k], a1 = Mul(z[m + k], w), a2 = Mul(z[2 * m + k], w + 2);
        const Cx s = Add(a1, a2);
        const Cx t = Sub(a0, Scale(s, 0.5f));
        const Cx u = MinusI(Scale(Sub(a1, a2), h));
        z[k] = Add(a0, s);
        z[m + k] = Add(t, u);
        z[2 * m + k] = Sub(t, u);
    }
}

void Radix4(Cx* z, int m, const float* tw)
{
    for (int k = 0; k < m; ++k) {
        const float* w = tw + 6 * k;
        const Cx a0 = z[k], a1 = Mul(z[m + k], w), a2 = Mul(z[2 * m + k], w + 2),
                 a3 = Mul(z[3 * m + k], w + 4);
        const Cx s02 = Add(a0, a2), d02 = Sub(a0, a2), s13 = Add(a1, a3), d13 = MinusI(Sub(a1, a3));
        z[k] = Add(s02, s13);
        z[m + k] = Add(d02, d13);
        z[2 * m + k] = Sub(s02, s13);
        z[3 * m + k] = Sub(d02, d13);
    }
}

void Radix5(Cx* z, int m, const float* tw)
{
    const float c1 = 0.309016994374947424f,
                c2 = -0.809016994374947424f; // cos(2 pi / 5), cos(4 pi / 5)
    const float s1 = 0.951056516295153572f,
                s2 = 0.587785252292473129f; // sin(2 pi / 5), sin(4 pi / 5)
    for (int k = 0; k < m; ++k) {
        const float* w = tw + 8 * k;
        const Cx a0 = z[k], a1 = Mul(z[m + k], w), a2 = Mul(z[2 * m + k], w + 2);
        const Cx a3 = Mul(z[3 * m + k], w + 4), a4 = Mul(z[4 * m + k], w + 6);
        const Cx b1 = Add(a1, a4), b2 = Add(a2, a3), d1 = Sub(a1, a4), d2 = Sub(a2, a3);
        const Cx r1 = Add(a0, Add(Scale(b1, c1), Scale(b2, c2)));
        const Cx r2 = Add(a0, Add(Scale(b1, c2), Scale(b2, c1)));
        const Cx i1 = MinusI(Add(Scale(d1, s1), Scale(d2, s2)));
        const Cx i2 = MinusI(Sub(Scale(d1, s2), Scale(d2, s1)));
        z[k] = Add(a0, Add(b1, b2));
        z[m + k] = Add(r1, i1);
        z[4 * m + k] = Sub(r1, i1);
        z[2 * m + k] = Add(r2, i2);
        z[3 * m + k] = Sub(r2, i2);
    }
}

} // namespace

Fft::Fft(int size) : m_size(size)
{
    if (size < 1)
        return;
    int rest = size;
    for (int p : {4, 2, 3, 5}) {
        while (rest % p == 0) {
            m_stages.push_back({p, 0, 0});
            rest /= p;
        }
    }
    if (rest != 1) {
        m_stages.clear();
        return;
    }
    m_order.resize(static_cast<size_t>(size));
    Order(0, 1, 0, size, 0);
    // Innermost stage first; each combines sub-transforms of length span.
    std::reverse(m_stages.begin(), m_stages.end());
    const double pi = 3.14159265358979323846;
    int n = 1;
    for (Stage& s : m_stages) {
        s.span = n;
        n *= s.radix;
        s.twiddle = m_twiddles.size();
        for (int k = 0; k < s.span; ++k) {
            for (int q = 1; q < s.radix; ++q) {
                const double a = -2.0 * pi * q * k / n;
                m_twiddles.push_back(static_cast<float>(std::cos(a)));
                m_twiddles.push_back(static_cast<float>(std::sin(a)));
            }
        }
    }
    m_valid = true;
}

// Where each input sample lands before the first stage: the sub-transform of
// every q-th sample (from `in`, `stride` apart) goes to out + q x (n / p).
void Fft::Order(int in, int stride, int out, int n, size_t level)
{
    if (n == 1) {
        m_order[static_cast<size_t>(out)] = in;
        return;
    }
    const int p = m_stages[level].radix;
    const int m = n / p;
    for (int q = 0; q < p; ++q)
        Order(in + q * stride, stride * p, out + q * m, m, level + 1);
}

void Fft::Forward(const std::complex<float>* in, std::complex<float>* out) const
{
    if (!m_valid)
        return;
    for (int i = 0; i < m_size; ++i)
        out[i] = in[m_order[static_cast<size_t>(i)]];
    Cx* z = reinterpret_cast<Cx*>(out);
    for (const Stage& s : m_stages) {
        const int n = s.radix * s.span;
        const float* tw = &m_twiddles[s.twiddle];
        for (int base = 0; base < m_size; base += n) {
            switch (s.radix) {
            case 2:
                Radix2(z + base, s.span, tw);
                break;
            case 3:
                Radix3(z + base, s.span, tw);
                break;
            case 4:
                Radix4(z + base, s.span, tw);
                break;
            default:
                Radix5(z + base, s.span, tw);
                break;
            }
        }
    }
}

} // namespace SonvexFilterCore
