#pragma once
#include <stdint.h>

class G7221DecoderEngine;

// Decoder of the wideband speech codec (ITU-T G.722.1): turns one coded
// frame of 30 words (24000 bit/s) or 40 words (32000 bit/s) into 320 samples
// at 16000 per second. Decoded samples are rounded half away from zero,
// saturated to 16 bits and have their two lowest bits cleared. Any bit rate
// other than 24000 or 32000 leaves the decoder without an engine and every
// call then fails.
class G7221Decoder
{
public:
    enum { kSampleRate = 16000, kFrameSamples = 320 };

    explicit G7221Decoder(int bitRate);
    virtual ~G7221Decoder();

    G7221Decoder(const G7221Decoder&) = delete;
    G7221Decoder& operator=(const G7221Decoder&) = delete;

    bool IsValid() const;
    int BitRate() const { return m_bitRate; }
    // Words (bytes) of one coded frame; 0 when not valid.
    int FrameWords() const;
    int FrameBytes() const { return FrameWords() * 2; }

    // Decodes one frame from the first FrameWords() words into 320 samples.
    // With erased set the words are not read (they may be null) and the
    // samples are concealed from the previous frame. A frame whose bits do
    // not make sense is concealed as an erased one. Returns the samples
    // written (320), 0 on failure (not valid, too few words, too little
    // room, null pointers).
    int Decode(const uint16_t* words, int wordCount, bool erased, int16_t* pcm, int maxSamples);

    // As Decode, from the little-endian bytes of a packet (60 or 80 bytes).
    int DecodeBytes(const uint8_t* frame, int byteCount, bool erased, int16_t* pcm, int maxSamples);

    // Forgets the previous frame, as a new decoder would.
    void Reset();

private:
    int m_bitRate;
    G7221DecoderEngine* m_engine;
};
