#pragma once
#include <cstdint>
#include <vector>

namespace SonvexFilterCore {

// A periodicity measure of a frame, 0.0001..0.9999: the strongest normalised
// correlation of the dithered signal with its own history over short lags,
// lowered for quiet or very steady frames and raised for changing ones.
class SpeechLikelihood
{
public:
    // frame: samples per frame (N); window: samples per 20 ms (W).
    SpeechLikelihood(int frame, int window);
    virtual ~SpeechLikelihood() = default;

    double Measure(const int16_t* samples);

    // s(i) = 1 / (1 + exp(-(i - 15) / 5)), i = 0..100.
    static double Smooth(int i);

private:
    int Dither(int d, uint32_t reciprocal);
    int64_t Correlation(int lag, bool narrow) const;

    int m_n, m_w;
    // The dithered samples are whole numbers, so every sum of their squares
    // and products is exact in 64-bit integers (and was exact in doubles).
    std::vector<int32_t> m_buffer;
    std::vector<int64_t> m_prefix; // m_prefix[i]: sum of squares of m_buffer[0..i)
    // The dithered samples in 16 bits, where they fit (-32767..32767), and
    // each one split as 256 x high + low (low 0..255), which always fits:
    // products of either sum exactly in 32-bit lanes.
    std::vector<int16_t> m_narrow, m_high, m_low;
    int64_t m_powers[3] = {0, 0, 0};
    uint32_t m_seed = 0x2545F491u;
};

} // namespace SonvexFilterCore
