#pragma once
#include <stdint.h>

#include "G7221BinReciprocals.h"
#include "G7221PowerCodeTree.h"
#include "G7221Tables.h"
#include "G7221Transform.h"

class G7221BitReader;

// The decoder proper, made for one bit rate: envelope decoding,
// categorization, coefficient decoding, noise fill, handling of too few bits
// and of lost frames, inverse transform and the conversion to 16-bit samples.
class G7221DecoderEngine
{
public:
    // As G7221EncoderEngine::Create.
    static G7221DecoderEngine* Create(int bitRate);
    virtual ~G7221DecoderEngine() {}

    int FrameWords() const { return m_bitsPerFrame / 16; }
    // Decodes FrameWords() words (ignored when erased) into 320 samples.
    // Returns false when the frame was concealed (erased or not decodable).
    bool Decode(const uint16_t* words, bool erased, int16_t* pcm);
    void Reset();

    // Gain that undoes the encoder's coefficient scale.
    static const float kCoefGain;

    // Converts a decoded sample: rounding half away from zero, saturation to
    // 16 bits, then the two lowest bits cleared.
    static int16_t ToPcm(float sample);

private:
    explicit G7221DecoderEngine(int bitRate);

    bool DecodeFrame(const uint16_t* words, float* coefs);
    int DecodeVector(G7221BitReader& reader, int category) const;
    uint32_t NextRandom();

    enum { kPowerLevels = G7221Tables::kRmsMax - G7221Tables::kRmsMin + 1 };

    int m_bitsPerFrame;
    G7221Transform m_transform;
    G7221BinReciprocals m_reciprocals;
    G7221PowerCodeTree m_powerCodes;
    // 2^(rms / 2), the standard deviation of every region power index.
    float m_deviation[kPowerLevels];
    float m_previous[G7221Tables::kFrameSize]; // last good coefficients
    uint32_t m_random;
};
