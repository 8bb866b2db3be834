#include "CAudioConvert.h"

#include <cstring>

#include "RavoTLog.h"

namespace RavoTDevice {

CAudioConvert::CAudioConvert() = default;

CAudioConvert::~CAudioConvert() { Close(); }

void CAudioConvert::Close()
{
    m_stream.Close();
    m_factor = 0;
    m_lastSample = 0;
}

namespace {
bool IsPlainMono16(const WAVEFORMATEX* f)
{
    return f->wFormatTag == WAVE_FORMAT_PCM && f->nChannels == 1 && f->wBitsPerSample == 16 &&
           f->nSamplesPerSec > 0;
}
} // namespace

int CAudioConvert::Open(const WAVEFORMATEX* source, const WAVEFORMATEX* target)
{
    Close();
    if (!source || !target)
        return 0;
    WAVEFORMATEX src = *source, dst = *target;
    src.cbSize = 0;
    dst.cbSize = 0;
    if (m_stream.Open(&src, &dst))
        return 1;
    if (!IsPlainMono16(source) || !IsPlainMono16(target))
        return 0;
    DWORD a = source->nSamplesPerSec, b = target->nSamplesPerSec;
    if (a >= b && a % b == 0)
        m_factor = static_cast<int>(a / b);
    else if (b > a && b % a == 0)
        m_factor = -static_cast<int>(b / a);
    return m_factor != 0 ? 1 : 0;
}

int CAudioConvert::ConvertBuiltIn(AUDIO_STREAM_HEAD* io)
{
    const short* in = reinterpret_cast<const short*>(io->input);
    short* out = reinterpret_cast<short*>(io->output);
    uint32_t inSamples = io->inputLength / 2;
    uint32_t capacity = io->outputCapacity / 2;
    uint32_t produced = 0;
    if (m_factor >= 1) {
        uint32_t n = static_cast<uint32_t>(m_factor);
        for (uint32_t i = 0; i + n <= inSamples && produced < capacity; i += n) {
            int sum = 0;
            for (uint32_t k = 0; k < n; ++k)
                sum += in[i + k];
            out[produced++] = static_cast<short>(sum / static_cast<int>(n));
        }
        io->consumed = produced * n * 2;
    } else {
        uint32_t n = static_cast<uint32_t>(-m_factor);
        uint32_t i = 0;
        for (; i < inSamples && produced + n <= capacity; ++i) {
            int from = m_lastSample, to = in[i];
            for (uint32_t k = 1; k <= n; ++k)
                out[produced++] = static_cast<short>(from + (to - from) * static_cast<int>(k) /
                                                                static_cast<int>(n));
            m_lastSample = in[i];
        }
        io->consumed = i * 2;
    }
    io->outputLength = produced * 2;
    return produced > 0 ? 1 : 0;
}

int CAudioConvert::Convert(AUDIO_STREAM_HEAD* io)
{
    if (!io || !io->input || !io->output || !IsOpen())
        return 0;
    io->outputLength = 0;
    if (!m_stream.IsOpen()) {
        if (!ConvertBuiltIn(io)) {
            RavoTLog().Write(1,
                             "<CAudioConvert::Convert>,header.cbDstLengthUsed <= 0,DataLen = %d\n",
                             static_cast<int>(io->inputLength));
            return 0;
        }
        return 1;
    }
    uint32_t sourceUsed = 0, targetUsed = 0;
    const AudioCommon::AcmStream::Result result = m_stream.Convert(
        io->input, io->inputLength, io->output, io->outputCapacity, sourceUsed, targetUsed);
    if (result == AudioCommon::AcmStream::PREPARE_FAILED) {
        RavoTLog().Write(1, "<CAudioConvert::Convert>,acmStreamPrepareHeader failed,DataLen = %d\n",
                         static_cast<int>(io->inputLength));
        return 0;
    }
    if (result == AudioCommon::AcmStream::CONVERT_FAILED) {
        RavoTLog().Write(1, "<CAudioConvert::Convert>,acmStreamConvert failed,DataLen = %d\n",
                         static_cast<int>(io->inputLength));
        return 0;
    }
    if (targetUsed == 0) {
        RavoTLog().Write(1, "<CAudioConvert::Convert>,header.cbDstLengthUsed <= 0,DataLen = %d\n",
                         static_cast<int>(io->inputLength));
        return 0;
    }
    io->consumed = sourceUsed;
    io->outputLength = targetUsed;
    return 1;
}

} // namespace RavoTDevice
