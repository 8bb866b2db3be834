#pragma once
#include <cstdint>
#include <vector>

namespace SonvexDevice {

// Converts 16-bit mono PCM by a rational ratio L / M with a Kaiser-window
// polyphase low-pass (about 80 dB). The input history carries over from one
// call to the next, so a stream can be converted block by block.
class RateConverter
{
public:
    // ratio = output rate / input rate; quality 0 (long), 1 (normal), 2 (short)
    explicit RateConverter(double ratio, int quality = 1);
    virtual ~RateConverter() = default;

    RateConverter(const RateConverter&) = delete;
    RateConverter& operator=(const RateConverter&) = delete;

    // Returns outCount, or 0 (nothing converted) unless outCount x M equals
    // inCount x L.
    int Convert(const int16_t* in, int inCount, int16_t* out, int outCount);

    int Up() const { return m_up; }
    int Down() const { return m_down; }
    int HalfLength() const { return m_half; }

    // Writes a ratio as a fraction by continued fractions.
    static void ToFraction(double ratio, int* numerator, int* denominator);

private:
    void Push(int16_t sample);
    int16_t Output(int phase) const;

    int m_up = 1;                             // L
    int m_down = 1;                           // M
    int m_half = 0;                           // h
    std::vector<std::vector<float>> m_phases; // taps -h.., per phase
    std::vector<float> m_history;             // ring stored twice over
    int m_ringSize = 0;
    int m_ringMask = 0;
    int m_newest = 0;      // ring index of the newest sample
    int64_t m_inCount = 0; // input samples seen, for the general case
    int64_t m_outCount = 0;
};

} // namespace SonvexDevice
