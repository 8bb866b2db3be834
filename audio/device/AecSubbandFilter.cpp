#include "AecSubbandFilter.h"

#include <cmath>

namespace SonvexDevice {

namespace {
const double kBase[16] = {-0.000117476784,  0.000675449406,   -0.000391740373,   -0.00487035299301,
                          0.00874609404702, 0.01398102791702, -0.04408825393106, -0.01736930100202,
                          0.12874742662019, 0.000472484574,   -0.28401554296243, -0.01582910525602,
                          0.58535468365487, 0.67563073629801, 0.31287159091447,  0.05441584224308};
}

std::vector<float> AecSubbandFilter::Prototype(int channels)
{
    const double pi = 3.14159265358979323846;
    const int L = 8 * channels;
    std::vector<std::complex<double>> spectrum(L);
    for (int k = 0; k < 8; ++k) {
        std::complex<double> sum;
        for (int n = 0; n < 16; ++n)
            sum += kBase[n] * std::polar(1.0, -2.0 * pi * k * n / 16.0);
        spectrum[k] = sum;
    }
    for (int m = 0; m <= L / 2 - 2; ++m)
        spectrum[L - 1 - m] = std::conj(spectrum[1 + m]);
    std::vector<double> taps(L);
    double largest = 0.0, energy = 0.0;
    for (int n = 0; n < L; ++n) {
        std::complex<double> sum;
        for (int k = 0; k < L; ++k)
            sum +=
                spectrum[k] * std::polar(1.0, 2.0 * pi * (static_cast<long long>(k) * n % L) / L);
        taps[n] = sum.real() / channels;
        largest = std::max(largest, std::abs(taps[n]));
        energy += taps[n] * taps[n];
    }
    std::vector<float> out(L);
    const double scale = energy > 0.0 ? largest / energy : 1.0;
    for (int n = 0; n < L; ++n)
        out[n] = static_cast<float>(taps[n] * scale);
    return out;
}

AecSubbandFilter::AecSubbandFilter(int frameSamples, int taps) : m_frameSamples(frameSamples)
{
    double c = 1.6;
    if (c < 1.25)
        c = 1.25;
    if (c > 2.0)
        c = 2.0;
    int channels = 8 * static_cast<int>(std::floor(c * frameSamples / 8.0 + 0.5));
    if (channels % 2)
        ++channels;
    m_channels = channels;
    m_stages = (taps + frameSamples - 1) / frameSamples;
    m_bands = channels / 2;
    const std::vector<float> prototype = Prototype(channels);
    m_farBank.reset(new AecAnalysisBank(frameSamples, channels, prototype));
    m_nearBank.reset(new AecAnalysisBank(frameSamples, channels, prototype));
    m_synthesis.reset(new AecSynthesisBank(frameSamples, channels, prototype));
    m_lattice.reset(new AecLattice(m_stages, m_bands));
    m_crossEY.assign(channels, Complex(1e-10f, 0.0f));
    m_echoPower.assign(channels, 1e-10f);
    m_gain.assign(channels, Complex(1.0f, 1.0f));
    m_far.assign(channels, Complex());
    m_near.assign(channels, Complex());
    m_out.assign(channels, Complex());
}

void AecSubbandFilter::Run(const float* far, const float* nearEnd, float* out)
{
    m_farBank->Run(far, m_far.data());
    m_nearBank->Run(nearEnd, m_near.data());
    m_lattice->Run(m_far.data(), m_near.data(), m_out.data());
    for (int k = 0; k < m_bands; ++k)
        m_out[m_channels - 1 - k] = std::conj(m_out[k]);
    if (m_residualGain)
        ResidualGain();
    m_synthesis->Run(m_out.data(), out);
}

void AecSubbandFilter::ResidualGain()
{
    const float floorGain = static_cast<float>(std::pow(10.0, -0.6));
    const float floorScale = static_cast<float>(std::pow(10.0, -0.3));
    for (int k = 0; k < m_bands; ++k) {
        const Complex e = m_out[k];
        const Complex y = m_near[k];
        m_crossEY[k] = 0.2f * e * std::conj(y) + 0.8f * m_crossEY[k];
        m_echoPower[k] = 0.2f * std::norm(y - e) + 0.8f * m_echoPower[k];
        Complex g = m_crossEY[k] / (m_crossEY[k] + m_echoPower[k]);
        const float g2 = std::norm(g);
        if (g2 < floorGain)
            g = g * (floorScale / std::sqrt(g2 + 1e-10f));
        m_gain[k] = 0.4f * g + 0.6f * m_gain[k];
        m_out[k] = m_gain[k] * e;
        m_out[m_channels - 1 - k] = std::conj(m_out[k]);
    }
}

} // namespace SonvexDevice
