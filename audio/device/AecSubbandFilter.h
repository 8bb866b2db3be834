#pragma once
#include <complex>
#include <memory>
#include <vector>

#include "AecAnalysisBank.h"
#include "AecLattice.h"
#include "AecSynthesisBank.h"

namespace SonvexDevice {

// The echo canceller's subband stage: analysis of far and near end, one
// lattice per band, residual-echo gain, synthesis of the output frame.
class AecSubbandFilter
{
public:
    typedef std::complex<float> Complex;

    // frameSamples D, taps T: N = 8 round(1.6 D / 8) channels (even),
    // K = ceil(T / D) stages, N / 2 bands.
    AecSubbandFilter(int frameSamples, int taps);
    virtual ~AecSubbandFilter() = default;

    void Run(const float* far, const float* nearEnd, float* out);

    void SetResidualGain(bool on) { m_residualGain = on; }
    int Channels() const { return m_channels; }
    int Stages() const { return m_stages; }
    const AecLattice& Lattice() const { return *m_lattice; }

    // The real prototype of L = 8 N taps shared by the banks.
    static std::vector<float> Prototype(int channels);

private:
    void ResidualGain();

    int m_frameSamples;
    int m_channels;
    int m_stages;
    int m_bands;
    bool m_residualGain = true;
    std::unique_ptr<AecAnalysisBank> m_farBank;
    std::unique_ptr<AecAnalysisBank> m_nearBank;
    std::unique_ptr<AecSynthesisBank> m_synthesis;
    std::unique_ptr<AecLattice> m_lattice;
    std::vector<Complex> m_crossEY;
    std::vector<float> m_echoPower;
    std::vector<Complex> m_gain;
    std::vector<Complex> m_far;
    std::vector<Complex> m_near;
    std::vector<Complex> m_out;
};

} // namespace SonvexDevice
