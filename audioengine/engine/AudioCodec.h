#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <memory>

#include "AcmStream.h"
#include "IlbcAdapter.h"
class G7221Encoder;
class G7221Decoder;

namespace RavoEngine {

// Encodes or decodes one codec row, whatever engine the row's kind needs:
// the built-in wideband codec (kinds 6 and 7), the iLBC adapter (kinds 2 and
// 3) or a stream of the Audio Compression Manager (every other kind).
class AudioCodec
{
public:
    explicit AudioCodec(IlbcEngineFactory& ilbc = IlbcEngineFactory::System());
    ~AudioCodec();

    AudioCodec(const AudioCodec&) = delete;
    AudioCodec& operator=(const AudioCodec&) = delete;

    // Fills pcmOut with the row's PCM format and opens the engine; any engine
    // already open is closed first. False leaves the codec closed.
    bool Open(int row, bool encode, WAVEFORMATEX* pcmOut);
    void Close();
    bool IsOpen() const;
    int GetRow() const { return m_row; }

    // One PCM block (at least the row's block bytes) into one frame; returns
    // the coded bytes or 0.
    uint32_t Encode(const uint8_t* pcm, uint32_t length, uint8_t* out, uint32_t capacity);
    // One frame (at least the row's block-align bytes) into PCM; returns the
    // PCM bytes or 0.
    uint32_t Decode(const uint8_t* frame, uint32_t length, uint8_t* out, uint32_t capacity);

    // Open and decode with a kind that no table row carries: used for the
    // iLBC branch, which no row of the table reaches.
    bool OpenIlbc(int frameMs, bool encode);

private:
    int m_row = -1;
    bool m_encode = false;
    WAVEFORMATEX m_pcm{};
    AudioCommon::AcmStream m_acm;
    std::unique_ptr<G7221Encoder> m_g7221Encoder;
    std::unique_ptr<G7221Decoder> m_g7221Decoder;
    IlbcAdapter m_ilbc;
    int m_ilbcFrameMs = 0;
};

} // namespace RavoEngine
