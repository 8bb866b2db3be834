#pragma once
#include <cstdint>

#include "SpeechLikelihood.h"

// Levels speech towards a target (dB below full scale) within a gain range,
// tracking speech and noise power; backs off when samples come near clipping.
class AutomaticGainControl
{
public:
    AutomaticGainControl(int rate, int frame, double target, double minGain, double maxGain);
    virtual ~AutomaticGainControl() = default;

    static bool ValidSettings(double target, double minGain, double maxGain);

    // In place on frame samples.
    void Process(int16_t* samples);
    double GetGain() const { return m_gain; }

private:
    int m_frames = 0;
    int m_rate;
    int m_n;
    double m_target, m_minGain, m_maxGain;
    double m_speechPower;
    double m_noisePower;
    double m_gain = 0.0;
    double m_backOff = 0.0;
    int m_clip = 23197;
    double m_f2, m_f5, m_f1;
    SpeechLikelihood m_likelihood;
};
