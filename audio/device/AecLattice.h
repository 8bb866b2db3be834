#pragma once
#include <complex>
#include <vector>

// Adaptive least-squares lattice (QR rotations), one per subband, all bands
// run in parallel. Models the echo path over K stages of one subband sample
// each, subtracts the modelled echo from the near end, adapts its forgetting
// factor to how concentrated the echo path is, and estimates the delay of
// the echo's main stage.
class AecLattice
{
public:
    typedef std::complex<float> Complex;

    AecLattice(int stages, int bands);
    virtual ~AecLattice() = default;

    // far, near: the bands' subband samples; error: the near end with the
    // modelled echo taken out.
    void Run(const Complex* far, const Complex* nearEnd, Complex* error);

    // Stage of the echo path's main energy once the path has settled, in
    // frames; -1 when none.
    int DelayEstimate() const { return m_delayEstimate; }
    float Spread() const { return m_spread; }

    // Forgetting factor shared by every lattice of the process.
    static float Lambda() { return s_lambda; }

private:
    struct Rotation {
        float c;
        Complex s;
    };
    Rotation Rotate(const Complex& x, float& energy) const;
    void Apply(const Rotation& r, Complex& x, Complex& z) const;
    void UpdateForgetting();

    int m_stages;
    int m_bands;
    // [stage * bands + band]
    std::vector<float> m_forwardEnergy;
    std::vector<float> m_backwardEnergy;
    std::vector<Complex> m_forwardCross;
    std::vector<Complex> m_backwardCross;
    std::vector<Complex> m_jointCross;
    std::vector<Complex> m_delayedBackward;
    std::vector<Rotation> m_previous;
    std::vector<float> m_q;

    float m_spread = 0.1f;
    int m_previousCandidate = 0;
    double m_movement = 0.0;
    int m_delayEstimate = -1;

    static float s_lambda;
    static float s_sqrtLambda;
    static unsigned s_frameCounter;
};
