#pragma once
#include <cstdint>

#include "Biquad.h"

namespace RavoEngine {

// The engine's own spectral noise suppressor for 80-sample frames: a
// Hamming-windowed 256-point transform every 80 samples, a noise estimate
// steered by a voicing measure, a decision-directed gain per bin with a
// floor, and a normalised overlap-add. The output lags the input by 176
// samples.
class NoiseSuppressor
{
public:
    enum { FRAME = 80, FFT_SIZE = 256, BINS = 129, HISTORY = 223, TAIL = 176 };

    explicit NoiseSuppressor(int level);

    // Level 0..4 (below 0 gives 0, above 4 gives 3); the floor is
    // -10 - 5 x level dB. Clears the estimate, the ramp and every buffer.
    void SetLevel(int level);
    int GetLevel() const { return m_level; }

    // In place, 80 samples at a time; 0 (and nothing done) unless count is a
    // multiple of 80.
    int Noise_Sup(int16_t* samples, int count);

    double GetFloorDb() const { return m_floorDb; }
    int GetFrameCount() const { return m_frameCount; }
    int GetLastVoicing() const { return m_lastVoicing; }

    // The overlap-add's window sum at a position of the frame (1.69 to 1.77
    // for the Hamming window); the output is divided by it.
    static double WindowSum(int position);

private:
    void ProcessFrame(int16_t* frame);
    int Voicing();

    int m_level = 0;
    double m_configuredDb = -10.0;
    double m_floorDb = -2.0;
    double m_floor = 1.0;
    int m_frameCount = 0;
    int m_hangover = 0;
    int m_lastVoicing = 0;
    int16_t m_history[HISTORY];
    double m_input[FFT_SIZE];
    double m_tail[TAIL];
    double m_noise[BINS];
    double m_gain[BINS];
    double m_gamma[BINS];
    AudioCommon::Biquad m_inFilter;
    AudioCommon::Biquad m_outFilter;
};

} // namespace RavoEngine
