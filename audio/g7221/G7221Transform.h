#pragma once

// The codec's modulated lapped transform: 320 new samples and the 320 of the
// previous frame, windowed by sin(pi (n + 0.5) / 640) over 640 samples, folded
// and turned into 320 coefficients by an orthonormal type IV DCT; and its
// inverse with the overlap-add that rebuilds the samples of the previous
// frame. Each object keeps the state of one direction of one stream; the
// constant tables are built once and shared by every object.
class G7221Transform
{
public:
    enum { kSize = 320 };

    G7221Transform();
    virtual ~G7221Transform() {}

    // Forward: samples (320) -> coefficients (320). Keeps the samples.
    void Analyse(const float* samples, float* coefs);
    // Inverse: coefficients (320) -> 320 samples, one frame behind the
    // coefficients' own frame. Keeps half of the transform output.
    void Synthesise(const float* coefs, float* samples);
    // Clears the kept samples.
    void Reset();

    // Orthonormal type IV DCT of kSize points (its own inverse).
    void DctIV(const float* in, float* out) const;

private:
    enum {
        kHalf = kSize / 2,       // points of the complex FFT inside the DCT
        kBlock = 32,             // the FFT is 5 radix-2 FFTs of 32 points ...
        kBlocks = kHalf / kBlock // ... and 32 5-point DFTs
    };
    struct Tables;
    static const Tables& SharedTables();

    static void Fft32(const Tables& t, float* re, float* im);

    const Tables& m_tables;
    float m_history[kSize]; // previous frame's samples (analysis)
    float m_overlap[kHalf]; // second half of the last inverse DCT
};
