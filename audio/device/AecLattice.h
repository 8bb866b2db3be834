#pragma once
#include <complex>
#include <vector>

namespace SonvexDevice {

// Adaptive least-squares lattice (QR rotations), one per subband, all bands
// run in parallel. Models the echo path over K stages of one subband sample
// each, subtracts the modelled echo from the near end, adapts its forgetting
// factor to how concentrated the echo path is, and estimates the delay of
// the echo's main stage.
//
// State is held band-parallel, complex values as separate real and imaginary
// vectors, so that four bands run at once on processors with SSE.
class AecLattice
{
public:
    typedef std::complex<float> Complex;

    AecLattice(int stages, int bands);
    virtual ~AecLattice();

    AecLattice(const AecLattice&) = delete;
    AecLattice& operator=(const AecLattice&) = delete;

    // far, near: the bands' subband samples; error: the near end with the
    // modelled echo taken out.
    void Run(const Complex* far, const Complex* nearEnd, Complex* error);

    // Stage of the echo path's main energy once the path has settled, in
    // frames; -1 when none.
    int DelayEstimate() const { return m_delayEstimate; }
    float Spread() const { return m_spread; }

    // Forgetting factor shared by every lattice of the process.
    static float Lambda() { return s_lambda; }
    // Whether the four-lane path runs (the processor has SSE and the band
    // count is a multiple of 4); it can be switched off, for comparison.
    static bool VectorPath() { return s_vector; }
    static void UseVectorPath(bool on);

private:
    // One stage over bands [from, to).
    void StagePlain(int stage, int from, int to);
    void StageVector(int stage);
    void UpdateForgetting();
    float* Vec(int which, int stage)
    {
        return m_store + (static_cast<size_t>(which) * m_stages + stage) * m_bands;
    }
    float* Work(int which) { return m_work + static_cast<size_t>(which) * m_bands; }

    int m_stages;
    int m_bands;
    float* m_store = nullptr; // 16-byte aligned: per stage vectors, below
    float* m_work = nullptr;  // 16-byte aligned: per frame vectors, below
    std::vector<float> m_q;

    float m_spread = 0.1f;
    int m_previousCandidate = 0;
    double m_movement = 0.0;
    int m_delayEstimate = -1;

    static float s_lambda;
    static float s_sqrtLambda;
    static unsigned s_frameCounter;
    static bool s_vector;
};

} // namespace SonvexDevice
