#pragma once
#include <stdint.h>

class G7221EncoderEngine;

// Encoder of the wideband speech codec (ITU-T G.722.1): 16000 samples per
// second, mono, 320-sample (20 ms) frames. An encoder is made for 24000 bit/s
// (30 words, 60 bytes a frame) or 32000 bit/s (40 words, 80 bytes a frame);
// any other rate leaves it without an engine and every call then fails.
class G7221Encoder
{
public:
    enum { kSampleRate = 16000, kFrameSamples = 320 };

    explicit G7221Encoder(int bitRate);
    virtual ~G7221Encoder();

    G7221Encoder(const G7221Encoder&) = delete;
    G7221Encoder& operator=(const G7221Encoder&) = delete;

    // True when the engine exists (24000 or 32000 bit/s).
    bool IsValid() const;
    // The rate asked for at construction.
    int BitRate() const { return m_bitRate; }
    // Words (bytes) of one coded frame; 0 when not valid.
    int FrameWords() const;
    int FrameBytes() const { return FrameWords() * 2; }

    // Encodes the first 320 samples of pcm (sampleCount must be at least
    // 320) into FrameWords() words, the first bit of the frame in the most
    // significant bit of word 0. Returns the words written, 0 on failure
    // (not valid, too few samples, too little room, null pointers).
    int Encode(const int16_t* pcm, int sampleCount, uint16_t* words, int maxWords);

    // As Encode, with the words stored little-endian into bytes. Returns the
    // bytes written (60 or 80), 0 on failure.
    int EncodeBytes(const int16_t* pcm, int sampleCount, uint8_t* out, int maxBytes);

    // Forgets the overlap of the previous frame, as a new encoder would.
    void Reset();

private:
    int m_bitRate;
    G7221EncoderEngine* m_engine;
};
