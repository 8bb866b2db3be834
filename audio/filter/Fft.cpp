#include "Fft.h"

#include <cmath>

namespace SonvexFilterCore {

Fft::Fft(int size) : m_size(size)
{
    if (size < 1)
        return;
    int rest = size;
    for (int p : { 4, 2, 3, 5 }) {
        while (rest % p == 0) {
            m_factors.push_back(p);
            rest /= p;
        }
    }
    if (rest != 1)
        return;
    const double pi = 3.14159265358979323846;
    m_twiddles.resize(static_cast<size_t>(size));
    for (int t = 0; t < size; ++t)
        m_twiddles[static_cast<size_t>(t)] =
            std::complex<float>(static_cast<float>(std::cos(2 * pi * t / size)), static_cast<float>(-std::sin(2 * pi * t / size)));
    m_valid = true;
}

void Fft::Step(const std::complex<float>* in, std::complex<float>* out, int n, int stride, size_t level) const
{
    if (n == 1) {
        out[0] = in[0];
        return;
    }
    const int p = m_factors[level];
    const int m = n / p;
    for (int q = 0; q < p; ++q)
        Step(in + q * stride, out + q * m, m, stride * p, level + 1);
    const int scale = m_size / n;   // W_n^e = W_size^(e * scale)
    std::complex<float> t[5];
    for (int k = 0; k < m; ++k) {
        for (int q = 0; q < p; ++q)
            t[q] = out[q * m + k];
        for (int j = 0; j < p; ++j) {
            std::complex<float> acc = t[0];
            for (int q = 1; q < p; ++q) {
                int e = (q * (k + j * m)) % n;
                acc += t[q] * m_twiddles[static_cast<size_t>(e * scale)];
            }
            out[k + j * m] = acc;
        }
    }
}

void Fft::Forward(const std::complex<float>* in, std::complex<float>* out) const
{
    if (m_valid)
        Step(in, out, m_size, 1, 0);
}

} // namespace SonvexFilterCore
