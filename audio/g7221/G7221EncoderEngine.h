#pragma once
#include <stdint.h>

#include "G7221BinReciprocals.h"
#include "G7221Tables.h"
#include "G7221Transform.h"

// The encoder proper, made for one bit rate: transform, envelope, categories,
// scalar quantised vector Huffman coding, rate control and packing.
class G7221EncoderEngine
{
public:
    // Makes an engine for a bit rate of 8000..48000 that is a multiple of
    // 800; any other rate is a programming error: it stops in a debugger when
    // one is attached and gives no engine.
    static G7221EncoderEngine* Create(int bitRate);
    virtual ~G7221EncoderEngine() {}

    int FrameWords() const { return m_bitsPerFrame / 16; }
    // Encodes 320 samples into FrameWords() words.
    void Encode(const int16_t* pcm, uint16_t* words);
    void Reset() { m_transform.Reset(); }

    // Scale applied to every transform coefficient before quantisation.
    static const float kCoefScale;

private:
    explicit G7221EncoderEngine(int bitRate);

    struct RegionCode
    {
        int bits;          // bits of the whole region
        int vectors;       // vectors coded
        uint32_t code[20]; // Huffman code followed by the sign bits
        uint8_t length[20];
    };

    void QuantiseRegion(const float* coefs, int rms, int category, RegionCode& out) const;

    enum {
        kPowerLevels = G7221Tables::kRmsMax - G7221Tables::kRmsMin + 1,
        kCodedCategories = G7221Tables::kCategories - 1
    };

    int m_bitsPerFrame;
    G7221Transform m_transform;
    G7221BinReciprocals m_reciprocals;
    // 1 / (2^(rms / 2) step size) of every region power index and coded
    // category, the quantiser's scale.
    float m_inverseStep[kPowerLevels][kCodedCategories];
};
