#include "Mdct.h"

#include <cmath>

namespace {

double BesselI0(double x)
{
    double sum = 1.0, term = 1.0;
    for (int k = 1; k < 60; ++k) {
        term *= (x / (2.0 * k)) * (x / (2.0 * k));
        sum += term;
        if (term < sum * 1e-17)
            break;
    }
    return sum;
}

} // namespace

Mdct::Mdct(int n) : m_n(n), m_window(static_cast<size_t>(2 * n)), m_cos(static_cast<size_t>(2 * n) * static_cast<size_t>(n))
{
    const double pi = 3.14159265358979323846;
    const double alpha = 4.0;
    std::vector<double> kaiser(static_cast<size_t>(n + 1));
    double total = 0.0;
    for (int j = 0; j <= n; ++j) {
        double t = 2.0 * j / n - 1.0;
        kaiser[static_cast<size_t>(j)] = BesselI0(pi * alpha * std::sqrt(1.0 - t * t));
        total += kaiser[static_cast<size_t>(j)];
    }
    double running = 0.0;
    for (int i = 0; i < n; ++i) {
        running += kaiser[static_cast<size_t>(i)];
        float w = static_cast<float>(std::sqrt(running / total));
        m_window[static_cast<size_t>(i)] = w;
        m_window[static_cast<size_t>(2 * n - 1 - i)] = w;
    }
    for (int s = 0; s < 2 * n; ++s)
        for (int k = 0; k < n; ++k)
            m_cos[static_cast<size_t>(s) * static_cast<size_t>(n) + static_cast<size_t>(k)] =
                static_cast<float>(std::cos(pi / n * (s + 0.5 + n / 2.0) * (k + 0.5)));
}

void Mdct::Forward(const float* in, float* out) const
{
    const int n = m_n;
    for (int k = 0; k < n; ++k)
        out[k] = 0.0f;
    for (int s = 0; s < 2 * n; ++s) {
        float v = in[s] * m_window[static_cast<size_t>(s)];
        if (v == 0.0f)
            continue;
        const float* c = &m_cos[static_cast<size_t>(s) * static_cast<size_t>(n)];
        for (int k = 0; k < n; ++k)
            out[k] += v * c[k];
    }
}

void Mdct::Inverse(const float* in, float* out) const
{
    const int n = m_n;
    const float scale = 2.0f / n;
    for (int s = 0; s < 2 * n; ++s) {
        const float* c = &m_cos[static_cast<size_t>(s) * static_cast<size_t>(n)];
        float acc = 0.0f;
        for (int k = 0; k < n; ++k)
            acc += in[k] * c[k];
        out[s] = acc * scale * m_window[static_cast<size_t>(s)];
    }
}
