#pragma once
#include <complex>
#include <vector>

namespace SonvexDevice {

// Synthesis bank matching AecAnalysisBank: each spectrum of N bins gives D
// output samples by transform, rotation and overlap-add with the reversed,
// modulated prototype.
class AecSynthesisBank
{
public:
    typedef std::complex<float> Complex;

    AecSynthesisBank(int decimation, int channels, const std::vector<float>& prototype);
    virtual ~AecSynthesisBank() = default;

    void Reset();
    void Run(const Complex* spectrum, float* frame);

private:
    int m_decimation;
    int m_channels;
    int m_phase = 0;
    std::vector<Complex> m_taps;    // D g(i) e^(+j pi i / N)
    std::vector<Complex> m_twiddle; // e^(-j 2 pi i / N)
    std::vector<Complex> m_work;
    std::vector<Complex> m_scratch;
    std::vector<float> m_overlap; // real parts of the overlap-add buffer
};

} // namespace SonvexDevice
