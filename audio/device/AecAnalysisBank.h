#pragma once
#include <complex>
#include <vector>

namespace SonvexDevice {

// Oversampled, odd-stacked DFT analysis bank: each frame of D new samples
// gives one spectrum of N complex bins.
class AecAnalysisBank
{
public:
    typedef std::complex<float> Complex;

    // prototype: L = 8 x channels real taps
    AecAnalysisBank(int decimation, int channels, const std::vector<float>& prototype);
    virtual ~AecAnalysisBank() = default;

    void Reset();
    // frame: decimation samples; spectrum: channels bins
    void Run(const float* frame, Complex* spectrum);

private:
    int m_decimation;
    int m_channels;
    std::vector<float> m_prototype;
    std::vector<float> m_history; // history(0) is the newest sample
    std::vector<float> m_work;
    std::vector<Complex> m_twiddle; // e^(+j pi m / N)
};

} // namespace SonvexDevice
