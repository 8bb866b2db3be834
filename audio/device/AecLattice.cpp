#include "AecLattice.h"

#include <cmath>

float AecLattice::s_lambda = 0.998f;
float AecLattice::s_sqrtLambda = std::sqrt(0.998f);
unsigned AecLattice::s_frameCounter = 0;

AecLattice::AecLattice(int stages, int bands) : m_stages(stages), m_bands(bands)
{
    s_lambda = static_cast<float>(std::pow(0.998, 128.0 / stages));
    s_sqrtLambda = std::sqrt(s_lambda);
    const size_t n = static_cast<size_t>(stages) * bands;
    m_forwardEnergy.assign(n, 0.1f);
    m_backwardEnergy.assign(n, 0.1f);
    m_forwardCross.assign(n, Complex());
    m_backwardCross.assign(n, Complex());
    m_jointCross.assign(n, Complex());
    const float sl = s_sqrtLambda;
    const float sine = std::sqrt(1.0f - sl * sl);
    m_delayedBackward.assign(n, Complex(0.1f * sine, 0.0f));
    m_previous.assign(n, Rotation{sl, Complex(sine, 0.0f)});
    m_q.assign(stages, 0.0f);
}

AecLattice::Rotation AecLattice::Rotate(const Complex& x, float& energy) const
{
    const float weighted = s_sqrtLambda * energy;
    const float next = std::sqrt(weighted * weighted + x.real() * x.real() + x.imag() * x.imag());
    energy = next;
    // An energy that has decayed to nothing (a far end of exact zeros for a
    // long time) passes the error through unchanged.
    if (!(next > 1e-30f))
        return Rotation{1.0f, Complex()};
    return Rotation{weighted / next, x / next};
}

void AecLattice::Apply(const Rotation& r, Complex& x, Complex& z) const
{
    const Complex z0 = s_sqrtLambda * z;
    const Complex x0 = x;
    x = r.c * x0 - r.s * z0;
    z = r.c * z0 + std::conj(r.s) * x0;
}

void AecLattice::Run(const Complex* far, const Complex* nearEnd, Complex* error)
{
    for (int b = 0; b < m_bands; ++b) {
        Complex forward = far[b];
        Complex backward = far[b];
        Complex joint = nearEnd[b];
        float conversion = 1.0f;
        for (int i = 0; i < m_stages; ++i) {
            const size_t at = static_cast<size_t>(i) * m_bands + b;
            Rotation rb = Rotate(backward, m_backwardEnergy[at]);
            Rotation rf = Rotate(forward, m_forwardEnergy[at]);
            Apply(m_previous[at], forward, m_forwardCross[at]);
            Complex backwardInput = backward;
            Apply(rf, m_delayedBackward[at], m_backwardCross[at]);
            Apply(rb, joint, m_jointCross[at]);
            conversion *= rb.c;
            m_previous[at] = rb;
            backward = m_delayedBackward[at];
            m_delayedBackward[at] = backwardInput;
        }
        if (conversion > 1e-30f)
            error[b] = Complex(joint.real() / conversion, joint.imag() / conversion);
        else
            error[b] = joint;
    }
    if (m_bands >= 2)
        UpdateForgetting();
    if (s_lambda == 0.9998f && m_spread > 0.17f)
        for (int b = 0; b < m_bands; ++b)
            error[b] = nearEnd[b];
}

void AecLattice::UpdateForgetting()
{
    const unsigned counter = s_frameCounter++;
    if (counter % 2)
        return;
    // Where in the echo path the modelled energy sits: per stage, the joint
    // cross term against the backward energy, summed over the bands above
    // the lowest.
    float largest = -1.0f;
    int candidate = 0;
    double sum = 0.0;
    for (int i = 0; i < m_stages; ++i) {
        float q = 0.0f;
        for (int b = 1; b < m_bands; ++b) {
            const size_t at = static_cast<size_t>(i) * m_bands + b;
            const float energy = m_backwardEnergy[at];
            if (energy > 1e-30f)
                q += std::norm(m_jointCross[at]) / (energy * energy);
        }
        m_q[i] = q;
        sum += q;
        if (q > largest) {
            largest = q;
            candidate = i;
        }
    }
    const double mean = sum / m_stages;
    const double ratio = largest > 0.0f ? mean / largest : 1.0;
    m_spread = static_cast<float>((1.0 - 0.8) * ratio + 0.8 * m_spread);
    m_movement = (1.0 - 0.95) * std::abs(candidate - m_previousCandidate) + 0.95 * m_movement;

    float lambda = s_lambda;
    if (m_spread > 0.1f)
        lambda += 5e-6f;
    else if (m_spread < 0.06f)
        lambda -= 5e-6f;
    if (lambda < 0.995f)
        lambda = 0.995f;
    if (lambda > 0.9998f)
        lambda = 0.9998f;
    if (lambda != s_lambda) {
        s_lambda = lambda;
        s_sqrtLambda = std::sqrt(lambda);
    }

    if (s_lambda == 0.995f && candidate == m_previousCandidate && std::abs(m_movement) < 1e-10)
        m_delayEstimate = candidate;
    else if (candidate == 0 && m_previousCandidate == 0 && std::abs(m_movement) < 1e-40)
        m_delayEstimate = 0;
    else
        m_delayEstimate = -1;
    m_previousCandidate = candidate;
}
