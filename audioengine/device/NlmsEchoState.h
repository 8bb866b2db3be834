#pragma once
#include <vector>

namespace RavoTDevice {

// Sample-by-sample NLMS echo canceller: DC removal, a band filter on the
// microphone side, a peak-hold double-talk detector over the far end, an
// adaptive filter whose update is whitened by pre-emphasis, and attenuation
// of the residual while only the far end talks.
class NlmsEchoState
{
public:
    struct Config
    {
        int taps;           // filter length
        int slots;          // double-talk detector: slots of 16 samples
        int hangover;       // samples double talk is held after detection
        double step;        // adaptation step
        double threshold;   // far peak x threshold <= |near| means double talk
        double energyStart; // starting far energy of the normaliser
        bool bandAlways;    // band filter on every microphone sample, else the first 15
        bool quietGain;     // residual gain 0.01 while the near level is low
        // The detector asks the filter: once it has learned the echo path,
        // near talk is a residual that stands well above what that path
        // leaves of far-end speech, whatever its level against the far end
        // (the threshold decides only until then). A second filter that
        // always adapts takes over when it leaves clearly less residual, so
        // a changed echo path is learned again instead of passing for talk.
        bool learnedPath;
        // Attenuate the residual while no double talk holds (0.35, or 0.01
        // with quietGain while the near level is low); off, the residual
        // passes as the filter leaves it.
        bool residualGain;
    };

    // Mode 1: 640 taps at any rate.
    static Config ModeOne();
    // Modes 3 to 5, sized by the microphone rate; threshold 0.25, 0.85 or 1.5.
    static Config SharedModes(unsigned sampleRate, int mode);

    explicit NlmsEchoState(const Config& config);
    void Reset(const Config& config);

    // One microphone sample with the far-end sample that matches it in time;
    // returns the sample with the echo removed.
    short Process(short mic, short farSample);

    const Config& GetConfig() const { return m_config; }

private:
    double BandFilter(double x);

    Config m_config;
    double m_meanMic = 0, m_meanFar = 0;
    // Double-talk detector.
    std::vector<double> m_slotMax;
    int m_slot = 0, m_slotFill = 0;
    double m_farPeak = 0;
    int m_hang = 0;
    // Adaptive filter: histories written downwards, newest at m_pos.
    std::vector<double> m_weights;
    std::vector<double> m_x;  // raw far signal
    std::vector<double> m_xf; // pre-emphasised far signal
    int m_pos = 0;
    double m_energy = 0;
    double m_prevFar = 0, m_prevFarEmph = 0;
    double m_prevErr = 0, m_prevErrEmph = 0;
    // Band filter (direct form II).
    double m_band[17];
    long m_samples = 0;
    double m_nearLevel = 3;
    // Residual-to-far ratio left by the learned path: the smallest of the
    // last blocks' mean slot ratios.
    double m_errSlotMax = 0;
    double m_blockSum = 0;
    int m_blockActive = 0;
    int m_blockSlots = 0;
    std::vector<double> m_blockMins;
    int m_blockIndex = 0;
    int m_blocksFilled = 0;
    double ResidualFloor() const;
    void TrackResidual(double farPeak);
    void ForgetResidual();
    // The second filter and the comparison of both filters' residuals.
    double RunShadow(const double* x, const double* xf, double nearSig, bool farActive);
    void CompareFilters(double err, double shadowErr, bool farActive);
    bool m_slotTalk = false;
    std::vector<double> m_shadow;
    double m_prevShadowErr = 0, m_prevShadowErrEmph = 0;
    double m_mainSum = 0, m_shadowSum = 0;
    int m_compareFill = 0;
    int m_shadowWins = 0;
};

} // namespace RavoTDevice
