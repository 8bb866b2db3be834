#pragma once
#include <windows.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstdint>
#include <memory>

#include "AudioFormats.h"
#include "FrameCodecEngine.h"
#include "AcmStream.h"

namespace SonvexFilterCore {

// One encoder or decoder for a row of a codec table, whatever the row's kind:
// pass-through (ids 0, 1), an Audio Compression Manager stream (ids 2, 3) or
// the built-in G.722.1 codec (6 at 24000 bit/s, 7 at 32000 bit/s).
class AudioCodec
{
public:
    explicit AudioCodec(const EncodeFormatRow* table = EncodeFormatTable,
                        int rows = ENCODE_FORMAT_COUNT, const FrameCodecFactory* g7221 = nullptr);
    virtual ~AudioCodec();

    AudioCodec(const AudioCodec&) = delete;
    AudioCodec& operator=(const AudioCodec&) = delete;

    int Open(int row, int encode, WAVEFORMATEX* pcm);
    int OpenById(uint8_t id, int encode, WAVEFORMATEX* pcm);
    // Results are bytes written, 0 on failure; nothing is written beyond capacity.
    int Encode(const uint8_t* pcm, uint32_t bytes, uint8_t* out, uint32_t capacity);
    int Decode(const uint8_t* frame, uint32_t bytes, uint8_t* out, uint32_t capacity);
    void Close();

    bool IsOpen() const { return m_passThrough || m_acm.IsOpen() || m_engine; }
    const EncodeFormatRow* GetRow() const;

private:
    AudioCommon::AcmStream m_acm;
    int m_row = -1;
    int m_passThrough = 0;
    WAVEFORMATEX m_pcm;
    std::unique_ptr<FrameCodecEngine> m_engine;
    bool m_encode = false;
    const EncodeFormatRow* m_table;
    int m_rows;
    const FrameCodecFactory* m_g7221;
};

} // namespace SonvexFilterCore
