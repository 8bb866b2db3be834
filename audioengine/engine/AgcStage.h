#pragma once
#include <cstdint>
#include <vector>

#include "Biquad.h"
#include "CGainControl.h"

namespace RavoEngine {

// Automatic gain control for 16-bit mono frames of 10 or 20 ms at 8000 or
// 16000 Hz: a high-pass filter and a periodicity-based speech likelihood in
// front of the shared gain-control core.
class AgcStage
{
public:
    AgcStage();

    // False (and the stage unusable) for settings outside rate 8000/16000,
    // frame 10/20 ms, -50 <= target <= 0, -40 <= min <= max <= 40.
    bool Create(int rate, int frameMs, double targetDb, double minGainDb, double maxGainDb);
    bool IsValid() const { return m_valid; }
    int FrameSamples() const { return m_frame; }

    // In place; false (nothing done) unless count equals the frame size.
    bool Process(int16_t* samples, int count);

    double GetGainDb() const { return m_core.GetGainDb(); }
    double GetSpeechPower() const { return m_core.GetSpeechPower(); }
    double GetNoisePower() const { return m_core.GetNoisePower(); }
    int GetFrameCount() const { return m_frameCount; }

private:
    double Likelihood();

    bool m_valid = false;
    int m_rate = 0;
    int m_frame = 0;
    AudioCommon::CGainControl m_core;
    int m_frameCount = 0;
    bool m_hangover = false;
    std::vector<double> m_history;
    AudioCommon::Biquad m_filter;
};

} // namespace RavoEngine
