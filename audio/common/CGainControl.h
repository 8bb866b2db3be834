#pragma once
#include <cstdint>

namespace AudioCommon {

// The gain-control core both audio processers share: tracks speech and
// noise power from each frame and the speech likelihood the caller measured
// on it, steers a gain in dB towards the level that brings speech to the
// target (dB below full scale) within a range, and applies it sample by
// sample. A sample beyond the clip threshold lowers the gain by 0.5 dB (and
// the next frame's target likewise); only a saturated sample holds the gain
// for the rest of the frame.
class CGainControl
{
public:
    enum { CLIP_THRESHOLD = 23197 };

    static bool ValidSettings(double targetDb, double minGainDb, double maxGainDb);

    // Settings must be valid; the state starts afresh.
    void Reset(int rate, double targetDb, double minGainDb, double maxGainDb);
    // In place on count samples; likelihood from 0 to 1.
    void Process(int16_t* samples, int count, double likelihood);

    double GetGainDb() const { return m_gain; }
    double GetSpeechPower() const { return m_speechPower; }
    double GetNoisePower() const { return m_noisePower; }

private:
    double m_target = 0, m_minGain = 0, m_maxGain = 0;
    double m_speechPower = 0, m_noisePower = 0;
    double m_gain = 0, m_backOff = 0;
    double m_f2 = 0, m_f5 = 0, m_f1 = 0;
};

} // namespace AudioCommon
