#include "AudioCodec.h"

#include <cstring>

#include "G7221Decoder.h"
#include "G7221Encoder.h"
#include "RavoTables.h"

namespace RavoEngine {

AudioCodec::AudioCodec(IlbcEngineFactory& ilbc) : m_ilbc(ilbc) {}

AudioCodec::~AudioCodec() { Close(); }

bool AudioCodec::Open(int row, bool encode, WAVEFORMATEX* pcmOut)
{
    Close();
    WAVEFORMATEX pcm;
    if (!RavoTables::GetPcmFormat(row, &pcm))
        return false;
    if (pcmOut)
        *pcmOut = pcm;
    const EncodeFormatRow& r = EncodeFormatTable[row];
    m_row = row;
    m_encode = encode;
    m_pcm = pcm;
    bool ok = false;
    switch (r.kind) {
    case CODEC_KIND_G7221_24:
    case CODEC_KIND_G7221_32: {
        const int rate = r.kind == CODEC_KIND_G7221_24 ? 24000 : 32000;
        if (encode) {
            m_g7221Encoder.reset(new G7221Encoder(rate));
            ok = m_g7221Encoder->IsValid();
        } else {
            m_g7221Decoder.reset(new G7221Decoder(rate));
            ok = m_g7221Decoder->IsValid();
        }
        break;
    }
    case CODEC_KIND_ILBC_20:
    case CODEC_KIND_ILBC_30:
        // The frame time of an iLBC row is kept in its bits-per-sample field.
        ok = OpenIlbc(r.format.wBitsPerSample, encode);
        break;
    default:
        if (encode)
            ok = m_acm.Open(&m_pcm, &r.format);
        else
            ok = m_acm.Open(&r.format, &m_pcm);
        break;
    }
    if (!ok) {
        Close();
        return false;
    }
    return true;
}

bool AudioCodec::OpenIlbc(int frameMs, bool encode)
{
    const bool ok = encode ? m_ilbc.CreateEncoder(frameMs) : m_ilbc.CreateDecoder(frameMs, 1);
    m_ilbcFrameMs = ok ? frameMs : 0;
    m_encode = encode;
    return ok;
}

void AudioCodec::Close()
{
    m_acm.Close();
    m_g7221Encoder.reset();
    m_g7221Decoder.reset();
    m_ilbc.Free();
    m_ilbcFrameMs = 0;
    m_row = -1;
}

bool AudioCodec::IsOpen() const
{
    return m_acm.IsOpen() || m_g7221Encoder || m_g7221Decoder || m_ilbc.IsOpen();
}

uint32_t AudioCodec::Encode(const uint8_t* pcm, uint32_t length, uint8_t* out, uint32_t capacity)
{
    if (!pcm || !out || !m_encode || !IsOpen())
        return 0;
    if (m_ilbc.IsOpen()) {
        const int samples = IlbcAdapter::FrameSamples(m_ilbcFrameMs);
        if (length < static_cast<uint32_t>(samples * 2) ||
            capacity < static_cast<uint32_t>(IlbcAdapter::FrameBytes(m_ilbcFrameMs)))
            return 0;
        int16_t block[240];
        memcpy(block, pcm, samples * 2);
        return m_ilbc.Encode(block, samples, out);
    }
    const EncodeFormatRow& r = EncodeFormatTable[m_row];
    if (length < r.blockBytes)
        return 0;
    if (m_g7221Encoder) {
        int16_t block[G7221Encoder::kFrameSamples];
        memcpy(block, pcm, sizeof block);
        int n = m_g7221Encoder->EncodeBytes(block, G7221Encoder::kFrameSamples, out,
                                            static_cast<int>(capacity));
        return n > 0 ? static_cast<uint32_t>(n) : 0;
    }
    if (capacity < r.frameBytes)
        return 0;
    return m_acm.Convert(pcm, r.blockBytes, out, r.frameBytes);
}

uint32_t AudioCodec::Decode(const uint8_t* frame, uint32_t length, uint8_t* out, uint32_t capacity)
{
    if (!frame || !out || m_encode || !IsOpen())
        return 0;
    if (m_ilbc.IsOpen()) {
        const int samples = IlbcAdapter::FrameSamples(m_ilbcFrameMs);
        if (capacity < static_cast<uint32_t>(samples * 2))
            return 0;
        int16_t block[240];
        int n = m_ilbc.Decode(frame, static_cast<int>(length), block, 1);
        if (n <= 0)
            return 0;
        memcpy(out, block, n * 2);
        return static_cast<uint32_t>(n * 2);
    }
    const EncodeFormatRow& r = EncodeFormatTable[m_row];
    if (length < r.format.nBlockAlign)
        return 0;
    if (m_g7221Decoder) {
        if (capacity < G7221Decoder::kFrameSamples * 2)
            return 0;
        int16_t block[G7221Decoder::kFrameSamples];
        int n = m_g7221Decoder->DecodeBytes(frame, static_cast<int>(r.frameBytes), false, block,
                                            G7221Decoder::kFrameSamples);
        if (n <= 0)
            return 0;
        memcpy(out, block, n * 2);
        return static_cast<uint32_t>(n * 2);
    }
    if (capacity < r.blockBytes)
        return 0;
    return m_acm.Convert(frame, length, out, r.blockBytes);
}

} // namespace RavoEngine
