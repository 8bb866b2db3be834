#include "AudioProcesser.h"

#include <cstring>

#include "AudioPacket.h"
#include "CScopedLock.h"
#include "RavoTables.h"

namespace RavoEngine {

AudioProcesser::AudioProcesser(const RavoClock& clock) : m_clock(clock)
{
    InitializeCriticalSection(&m_lock);
}

AudioProcesser::~AudioProcesser()
{
    Destroy();
    DeleteCriticalSection(&m_lock);
}

bool AudioProcesser::Create(int row, const WAVEFORMATEX* input)
{
    CScopedLock lock(&m_lock);
    if (row < 0 || row >= ENCODE_FORMAT_COUNT)
        return false;
    if (!m_encoder.Open(row, true, &m_codecFormat))
        return false;
    m_row = row;
    m_kind = EncodeFormatTable[row].kind;
    m_blockBytes = EncodeFormatTable[row].blockBytes;
    m_inputBlock = m_blockBytes;
    if (input) {
        const WAVEFORMATEX& in = *input;
        const WAVEFORMATEX& c = m_codecFormat;
        if (in.wFormatTag != c.wFormatTag || in.nChannels != c.nChannels ||
            in.nSamplesPerSec != c.nSamplesPerSec || in.nAvgBytesPerSec != c.nAvgBytesPerSec ||
            in.wBitsPerSample != c.wBitsPerSample || in.nBlockAlign != c.nBlockAlign) {
            if (!m_converter.Open(input, &m_codecFormat))
                return false;
            m_inputBlock = m_converter.SourceBytesFor(m_blockBytes);
            if (!m_inputBlock)
                return false;
        }
    }
    try {
        m_block.assign(m_blockBytes, 0);
    } catch (...) {
        return false;
    }
    return true;
}

void AudioProcesser::SetDenoise(int mode)
{
    CScopedLock lock(&m_lock);
    if (mode == m_denoise)
        return;
    m_suppressor.reset();
    m_speex.reset();
    m_denoise = mode;
    if (mode == 1)
        m_suppressor.reset(new NoiseSuppressor(0));
    else if (mode == 2)
        m_suppressor.reset(new NoiseSuppressor(3));
    else if (mode == 3) {
        m_speex.reset(new SpeexDenoiser(static_cast<int>(m_blockBytes / 2),
                                        static_cast<int>(m_codecFormat.nSamplesPerSec)));
        if (!m_speex->IsValid()) {
            m_speex.reset();
            m_denoise = 0;
        }
    } else
        m_denoise = mode < 0 || mode > 3 ? 0 : mode;
}

void AudioProcesser::SetAGC(int mode)
{
    CScopedLock lock(&m_lock);
    if (mode == m_agcMode)
        return;
    m_agc.reset();
    m_agcMode = 0;
    double target, minGain = -4.0, maxGain;
    switch (mode) {
    case 1:
        target = -12.0;
        maxGain = 10.0;
        break;
    case 2:
        target = -10.0;
        maxGain = 14.0;
        break;
    case 3:
        target = -8.0;
        maxGain = 18.0;
        break;
    default:
        return;
    }
    std::unique_ptr<AgcStage> stage(new AgcStage());
    if (!stage->Create(static_cast<int>(m_codecFormat.nSamplesPerSec), 10, target, minGain,
                       maxGain))
        return;
    m_agc = std::move(stage);
    m_agcMode = mode;
}

void AudioProcesser::EnableSilenceDetect(bool on)
{
    CScopedLock lock(&m_lock);
    if (on && !m_silence)
        m_silence.reset(new SilenceDetector(m_codecFormat));
    else if (!on)
        m_silence.reset();
}

void AudioProcesser::SetFECMode(int mode)
{
    CScopedLock lock(&m_lock);
    if (mode == m_fecMode)
        return;
    m_fecOn = false;
    m_fec.reset();
    m_fecPacket.clear();
    m_fecMode = mode;
    if (mode < 1 || mode >= FEC_MODE_COUNT || m_row < 0)
        return;
    const FecModeRow& f = FecModeTable[mode];
    const int payload = static_cast<int>(EncodeFormatTable[m_row].frameBytes);
    std::unique_ptr<FecSender> sender(new FecSender(f.n, f.k, payload));
    if (!sender->IsValid())
        return;
    m_fec = std::move(sender);
    m_fecPacket.assign(static_cast<size_t>(payload) + FecSender::HEADER, 0);
    m_fecOn = true;
    m_restart = true;
}

void AudioProcesser::SetDenoiseChain(int order)
{
    CScopedLock lock(&m_lock);
    m_chain = order;
}

void AudioProcesser::EnableCalEnergy(bool on)
{
    CScopedLock lock(&m_lock);
    if (on && !m_meter)
        m_meter.reset(new EnergyMeter(m_codecFormat, m_clock));
    else if (!on)
        m_meter.reset();
}

int AudioProcesser::GetEnergy()
{
    CScopedLock lock(&m_lock);
    if (!m_meter) {
        m_meter.reset(new EnergyMeter(m_codecFormat, m_clock));
        return 0;
    }
    return m_meter->GetLevel();
}

void AudioProcesser::RunDenoise(int16_t* samples, int count)
{
    if (!m_denoise)
        return;
    if (m_speex)
        m_speex->Process(samples, count);
    if (m_suppressor)
        m_suppressor->Noise_Sup(samples, count);
}

void AudioProcesser::RunAgc(int16_t* samples, int count)
{
    if (!m_agc)
        return;
    const int chunk = m_agc->FrameSamples();
    for (int i = 0; chunk > 0 && i + chunk <= count; i += chunk)
        m_agc->Process(samples + i, chunk);
}

void AudioProcesser::RunSilence(const uint8_t* block, uint32_t bytes)
{
    if (m_silence)
        m_silent = m_silence->IsSilent(block, bytes);
}

int AudioProcesser::Process(AUDIO_STREAM_HEAD* io, uint32_t* out)
{
    if (out)
        *out = 0;
    if (!io)
        return 0;
    CScopedLock lock(&m_lock);
    io->outputLength = 0;
    io->consumed = 0;
    if (m_row < 0 || !io->input || io->inputLength < m_inputBlock || m_block.empty())
        return 0;

    if (m_converter.IsOpen()) {
        const uint32_t n =
            m_converter.Convert(io->input, m_inputBlock, m_block.data(), m_blockBytes);
        if (n != m_blockBytes)
            return 0;
    } else {
        memcpy(m_block.data(), io->input, m_blockBytes);
    }

    int16_t* samples = reinterpret_cast<int16_t*>(m_block.data());
    const int count = static_cast<int>(m_blockBytes / 2);
    m_silent = false;
    switch (m_chain) {
    case 1:
        RunAgc(samples, count);
        RunDenoise(samples, count);
        RunSilence(m_block.data(), m_blockBytes);
        break;
    case 2:
        RunDenoise(samples, count);
        RunSilence(m_block.data(), m_blockBytes);
        if (!m_silent)
            RunAgc(samples, count);
        break;
    default:
        RunDenoise(samples, count);
        RunAgc(samples, count);
        RunSilence(m_block.data(), m_blockBytes);
        break;
    }
    if (m_meter)
        m_meter->Measure(m_block.data(), m_blockBytes);

    if (m_silent) {
        io->consumed = m_inputBlock;
        return 1;
    }

    uint8_t* output = static_cast<uint8_t*>(io->output);
    if (!output)
        return 0;
    if (m_fecOn && m_fec) {
        const uint32_t n =
            m_encoder.Encode(m_block.data(), m_blockBytes, m_fecPacket.data() + FecSender::HEADER,
                             static_cast<uint32_t>(m_fecPacket.size()) - FecSender::HEADER);
        if (!n)
            return 0;
        FecSender::Result result;
        if (!m_fec->Accept(m_fecPacket.data(), static_cast<int>(n), &result))
            return 0;
        const uint64_t needed = AudioPacket::HEADER_SIZE +
                                static_cast<uint64_t>(result.dataLength) +
                                static_cast<uint64_t>(result.parityCount) * result.parityLength;
        if (needed > io->outputCapacity)
            return 0;
        if (m_restart) {
            m_counter = 0;
            m_restart = false;
        }
        const uint8_t first = static_cast<uint8_t>(m_kind | FecModeTable[m_fecMode].code);
        if (!AudioPacket::WriteHeader(output, io->outputCapacity, first, m_counter))
            return 0;
        ++m_counter;
        uint32_t pos = AudioPacket::HEADER_SIZE;
        memcpy(output + pos, result.data, result.dataLength);
        pos += result.dataLength;
        for (int i = 0; i < result.parityCount; ++i) {
            memcpy(output + pos, result.parity[i], result.parityLength);
            pos += result.parityLength;
        }
        io->outputLength = pos;
        return 1;
    }

    if (io->outputCapacity <= AudioPacket::HEADER_SIZE)
        return 0;
    const uint32_t n =
        m_encoder.Encode(m_block.data(), m_blockBytes, output + AudioPacket::HEADER_SIZE,
                         io->outputCapacity - AudioPacket::HEADER_SIZE);
    if (!n || io->outputCapacity < n + AudioPacket::HEADER_SIZE)
        return 0;
    AudioPacket::WriteHeader(output, io->outputCapacity, m_kind, m_counter);
    ++m_counter;
    io->outputLength = n + AudioPacket::HEADER_SIZE;
    return 1;
}

void AudioProcesser::Destroy()
{
    CScopedLock lock(&m_lock);
    m_encoder.Close();
    m_suppressor.reset();
    m_speex.reset();
    m_agc.reset();
    m_silence.reset();
    m_meter.reset();
    m_fec.reset();
    m_fecOn = false;
    m_converter.Close();
    m_block.clear();
    m_row = -1;
}

} // namespace RavoEngine
