#pragma once
#include <cstdint>

#include "CGainControl.h"
#include "SpeechLikelihood.h"

namespace SonvexFilterCore {

// Levels speech towards a target (dB below full scale) within a gain range:
// the speech likelihood of this library in front of the shared gain-control
// core.
class AutomaticGainControl
{
public:
    AutomaticGainControl(int rate, int frame, double target, double minGain, double maxGain);
    virtual ~AutomaticGainControl() = default;

    static bool ValidSettings(double target, double minGain, double maxGain);

    // In place on frame samples.
    void Process(int16_t* samples);
    double GetGain() const { return m_core.GetGainDb(); }

private:
    int m_frames = 0;
    int m_n;
    AudioCommon::CGainControl m_core;
    SpeechLikelihood m_likelihood;
};

} // namespace SonvexFilterCore
