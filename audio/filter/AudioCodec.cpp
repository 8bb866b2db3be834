#include "AudioCodec.h"

#include <cstring>

namespace SonvexFilterCore {

AudioCodec::AudioCodec(const EncodeFormatRow* table, int rows, const FrameCodecFactory* g7221)
    : m_table(table), m_rows(rows), m_g7221(g7221 ? g7221 : &FrameCodecFactory::G7221())
{
    memset(&m_pcm, 0, sizeof(m_pcm));
}

AudioCodec::~AudioCodec() { Close(); }

const EncodeFormatRow* AudioCodec::GetRow() const
{
    return (m_row >= 0 && m_row < m_rows) ? &m_table[m_row] : nullptr;
}

int AudioCodec::Open(int row, int encode, WAVEFORMATEX* pcm)
{
    Close();
    if (!m_table || row < 0 || row >= m_rows)
        return 0;
    const EncodeFormatRow& r = m_table[row];
    WAVEFORMATEX format;
    FillPcmFormat(r, &format);
    if (pcm)
        memcpy(pcm, &format, sizeof(format));
    m_row = row;
    m_pcm = format;
    m_encode = encode != 0;

    switch (r.id) {
    case 0:
    case 1:
        m_passThrough = 1;
        return 1;
    case 2:
    case 3: {
        // The coded format is the row's 18-byte record followed by its extra bytes.
        WAVEFORMATEX* coded = const_cast<WAVEFORMATEX*>(&r.format);
        WAVEFORMATEX* src = encode ? &m_pcm : coded;
        WAVEFORMATEX* dst = encode ? coded : &m_pcm;
        return m_acm.Open(src, dst) ? 1 : 0;
    }
    case 6:
    case 7:
        m_engine.reset(m_g7221->Create(r.id == 6 ? 24000 : 32000, m_encode));
        return m_engine ? 1 : 0;
    default:
        return 0;
    }
}

int AudioCodec::OpenById(uint8_t id, int encode, WAVEFORMATEX* pcm)
{
    int row = FindEncodeFormatRow(m_table, m_rows, id);
    if (row < 0) {
        Close();
        return 0;
    }
    return Open(row, encode, pcm);
}

int AudioCodec::Encode(const uint8_t* pcm, uint32_t bytes, uint8_t* out, uint32_t capacity)
{
    const EncodeFormatRow* r = GetRow();
    if (!r || !IsOpen() || !pcm || !out || bytes < r->blockBytes)
        return 0;
    if (m_passThrough) {
        if (bytes > capacity)
            return 0;
        memcpy(out, pcm, bytes);
        return static_cast<int>(bytes);
    }
    if (m_acm.IsOpen()) {
        if (capacity < r->frameBytes)
            return 0;
        return static_cast<int>(m_acm.Convert(pcm, bytes, out, r->frameBytes));
    }
    int16_t samples[AUDIO_BLOCK_SAMPLES];
    memcpy(samples, pcm, sizeof(samples));
    const int room = capacity > AUDIO_BLOCK_BYTES ? AUDIO_BLOCK_BYTES : static_cast<int>(capacity);
    int produced = m_engine->Encode(samples, AUDIO_BLOCK_SAMPLES, out, room);
    return produced > 0 ? produced : 0;
}

int AudioCodec::Decode(const uint8_t* frame, uint32_t bytes, uint8_t* out, uint32_t capacity)
{
    const EncodeFormatRow* r = GetRow();
    if (!r || !IsOpen() || !frame || !out || bytes < r->frameBytes)
        return 0;
    if (m_passThrough) {
        if (bytes > capacity)
            return 0;
        memcpy(out, frame, bytes);
        return static_cast<int>(bytes);
    }
    if (m_acm.IsOpen()) {
        if (capacity < r->blockBytes)
            return 0;
        return static_cast<int>(m_acm.Convert(frame, bytes, out, r->blockBytes));
    }
    if (capacity < AUDIO_BLOCK_BYTES)
        return 0;
    int16_t samples[AUDIO_BLOCK_SAMPLES];
    int produced =
        m_engine->Decode(frame, static_cast<int>(r->frameBytes), samples, AUDIO_BLOCK_SAMPLES);
    if (produced != AUDIO_BLOCK_SAMPLES)
        return 0;
    memcpy(out, samples, sizeof(samples));
    return AUDIO_BLOCK_BYTES;
}

void AudioCodec::Close()
{
    m_acm.Close();
    m_engine.reset();
    m_passThrough = 0;
}

} // namespace SonvexFilterCore
