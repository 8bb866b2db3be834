#pragma once
#include <cstdint>
#include <vector>

#include "Mdct.h"
#include "SpeechLikelihood.h"

namespace SonvexFilterCore {

// Spectral noise suppression on MDCT coefficients with a log-spectral
// amplitude gain per coefficient, noise tracked faster in pauses, and a gain
// floor set by the level. The output lags the input by one frame.
class NoiseSuppressor
{
public:
    NoiseSuppressor(int rate, int frame, int level);
    virtual ~NoiseSuppressor() = default;

    // False (and nothing written) for a frame of another length.
    bool Process(const int16_t* in, int16_t* out, int samples);
    float GetFloor() const { return m_floor; }

    // exp(E1(v) / 2), read from the interpolation table.
    static double GainFactor(double v);

private:
    int m_n;
    int m_rate;
    SpeechLikelihood m_likelihood;
    std::vector<float> m_noise, m_lastGain, m_lastGamma;
    float m_floor;
    int m_frames = 0;
    std::vector<float> m_block, m_coeffs, m_inverse, m_overlap;
    Mdct m_mdct;
};

} // namespace SonvexFilterCore
