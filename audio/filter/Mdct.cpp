#include "Mdct.h"

#include <algorithm>
#include <cmath>

namespace SonvexFilterCore {

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

Mdct::Mdct(int n)
    : m_n(n), m_window(static_cast<size_t>(2 * n)), m_fft(n / 2), m_pre(static_cast<size_t>(n / 2)),
      m_post(static_cast<size_t>(n / 2)), m_a(static_cast<size_t>(n / 2)),
      m_b(static_cast<size_t>(n / 2)), m_u(static_cast<size_t>(n))
{
    const double pi = 3.14159265358979323846;
    const double alpha = 4.0;
    std::vector<double> kaiser(static_cast<size_t>(n + 1));
    double total = 0.0;
    for (int j = 0; j <= n; ++j) {
        double t = 2.0 * j / n - 1.0;
        kaiser[static_cast<size_t>(j)] =
            BesselI0(pi * alpha * std::sqrt(std::max(0.0, 1.0 - t * t)));
        total += kaiser[static_cast<size_t>(j)];
    }
    double running = 0.0;
    for (int i = 0; i < n; ++i) {
        running += kaiser[static_cast<size_t>(i)];
        float w = static_cast<float>(std::sqrt(running / total));
        m_window[static_cast<size_t>(i)] = w;
        m_window[static_cast<size_t>(2 * n - 1 - i)] = w;
    }
    for (int k = 0; k < n / 2; ++k) {
        double a = -pi * (4 * k + 1) / (4.0 * n);
        double b = -pi * k / n;
        m_pre[static_cast<size_t>(k)] =
            std::complex<float>(static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a)));
        m_post[static_cast<size_t>(k)] =
            std::complex<float>(static_cast<float>(std::cos(b)), static_cast<float>(std::sin(b)));
    }
}

// X[k] = sum over n of x[n] cos(pi / N (n + 1/2)(k + 1/2)).
void Mdct::DctIv(const float* in, float* out) const
{
    const int n = m_n, half = n / 2;
    std::complex<float>* a = m_a.data();
    std::complex<float>* b = m_b.data();
    for (int i = 0; i < half; ++i) {
        const float re = in[2 * i], im = in[n - 1 - 2 * i];
        const std::complex<float> w = m_pre[static_cast<size_t>(i)];
        a[i] = std::complex<float>(re * w.real() - im * w.imag(), re * w.imag() + im * w.real());
    }
    m_fft.Forward(a, b);
    for (int k = 0; k < half; ++k) {
        const std::complex<float> w = m_post[static_cast<size_t>(k)];
        out[2 * k] = b[k].real() * w.real() - b[k].imag() * w.imag();
        out[n - 1 - 2 * k] = -(b[k].real() * w.imag() + b[k].imag() * w.real());
    }
}

void Mdct::Forward(const float* z, float* out) const
{
    const int n = m_n, half = n / 2;
    const float* w = m_window.data();
    // Fold the 2N windowed samples into N.
    for (int i = 0; i < half; ++i)
        m_u[static_cast<size_t>(i)] =
            -z[3 * half - 1 - i] * w[3 * half - 1 - i] - z[3 * half + i] * w[3 * half + i];
    for (int i = half; i < n; ++i)
        m_u[static_cast<size_t>(i)] =
            z[i - half] * w[i - half] - z[3 * half - 1 - i] * w[3 * half - 1 - i];
    DctIv(m_u.data(), out);
}

void Mdct::Inverse(const float* in, float* out) const
{
    const int n = m_n, half = n / 2;
    DctIv(in, m_u.data());
    const float scale = 2.0f / n;
    const float* w = m_window.data();
    const float* y = m_u.data();
    for (int i = 0; i < half; ++i) {
        out[3 * half - 1 - i] = -y[i] * scale * w[3 * half - 1 - i];
        out[3 * half + i] = -y[i] * scale * w[3 * half + i];
    }
    for (int i = half; i < n; ++i) {
        out[i - half] = y[i] * scale * w[i - half];
        out[3 * half - 1 - i] = -y[i] * scale * w[3 * half - 1 - i];
    }
}

} // namespace SonvexFilterCore
