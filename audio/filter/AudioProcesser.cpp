#include "AudioProcesser.h"

#include <cstring>
#include <new>

#include "CScopedLock.h"
#include "FecHeader.h"
#include "SonvexLog.h"

namespace SonvexFilterCore {

AudioProcesser::AudioProcesser(const WAVEFORMATEX* capture, const FrameCodecFactory* g7221,
                               const AudioClock& clock)
    : m_g7221(g7221), m_clock(clock)
{
    InitializeCriticalSection(&m_lock);
    memset(&m_codecFormat, 0, sizeof(m_codecFormat));
    memset(&m_captureFormat, 0, sizeof(m_captureFormat));
    m_agcAns.reset(new AgcAns);
    m_agcAns->init(16000, 20, false, false);
    if (capture)
        memcpy(&m_captureFormat, capture, sizeof(m_captureFormat));
    CheckCaptureFormat();
}

AudioProcesser::~AudioProcesser()
{
    {
        CScopedLock lock(&m_lock);
        m_codec.reset();
        m_nsLevel = 0;
        m_silenceDrop = 0;
        m_meter.reset();
        m_meterOn = 0;
        m_agcMode = 0;
        m_agcAns.reset();
        m_fec.reset();
    }
    DeleteCriticalSection(&m_lock);
}

void AudioProcesser::CheckCaptureFormat()
{
    const WAVEFORMATEX& c = m_captureFormat;
    const WAVEFORMATEX& f = m_codecFormat;
    if (c.nSamplesPerSec == 0)
        return;
    if (c.wFormatTag != f.wFormatTag || c.nChannels != f.nChannels ||
        c.nSamplesPerSec != f.nSamplesPerSec || c.nAvgBytesPerSec != f.nAvgBytesPerSec ||
        c.nBlockAlign != f.nBlockAlign || c.wBitsPerSample != f.wBitsPerSample)
        SonvexLog::Write("需要开启转换器,音频采集的格式与压缩所用的格式不同 \n");
}

int AudioProcesser::SetParam(int id, int value)
{
    CScopedLock lock(&m_lock);
    switch (id) {
    case PARAM_NOISE_SUPPRESSION:
        if (value != m_nsLevel)
            SetNoiseSuppression(value);
        return 1;
    case PARAM_SILENCE_DROP:
        m_silenceDrop = value;
        return 1;
    case PARAM_AGC:
        if (value != m_agcMode)
            SetAgcMode(value);
        return 1;
    case PARAM_METER:
        if (value == m_meterOn)
            return 1;
        m_meterOn = value;
        EnergyMeter::Switch(m_meter, value, m_clock);
        return 1;
    case PARAM_FEC_MODE:
        return SetFecMode(value);
    case PARAM_CODEC:
        return SetCodec(value);
    default:
        return 0;
    }
}

int AudioProcesser::GetParam(int id, int* value)
{
    if (!value)
        return 0;
    CScopedLock lock(&m_lock);
    switch (id) {
    case PARAM_NOISE_SUPPRESSION:
        *value = m_nsLevel;
        return 1;
    case PARAM_SILENCE_DROP:
        *value = m_silenceDrop;
        return 1;
    case PARAM_AGC:
        *value = m_agcMode;
        return 1;
    case PARAM_METER:
        *value = m_meterOn;
        return 1;
    case PARAM_LEVEL:
        if (!m_meter)
            m_meterOn = 1;
        *value = EnergyMeter::ReadLevel(m_meter, m_clock);
        return 1;
    case PARAM_FEC_MODE:
        *value = m_fecMode;
        return 1;
    case PARAM_FEC_MODE_COUNT:
        *value = FEC_MODE_COUNT;
        return 1;
    case PARAM_CODEC:
        *value = m_codecId;
        return 1;
    default:
        return 0;
    }
}

void AudioProcesser::SetNoiseSuppression(int level)
{
    if (level >= 1 && level <= 4) {
        m_agcAns->SetNsOn(true);
        if (!m_agcAns->init_ans(level - 1))
            SonvexLog::Write("m_pAgcAns->init_ans(%d) false!\n", level - 1);
        SonvexLog::Write("m_pAgcAns->init_ans(%d)\n", level - 1);
    } else {
        m_agcAns->SetNsOn(false);
    }
    m_nsLevel = level;
}

void AudioProcesser::SetAgcMode(int mode)
{
    static const double settings[3][3] = {
        {-10.0, -4.0, 14.0}, {-9.0, -4.0, 16.0}, {-8.0, -4.0, 18.0}};
    if (mode >= 1 && mode <= 3) {
        m_agcAns->SetAgcOn(true);
        const double* s = settings[mode - 1];
        if (m_agcAns->init_agc(s[0], s[1], s[2])) {
            m_agcMode = mode;
            return;
        }
    }
    m_agcAns->SetAgcOn(false);
    m_agcMode = 0;
}

int AudioProcesser::SetCodec(int id)
{
    if (id == m_codecId)
        return 1;
    m_codec.reset(new (std::nothrow) AudioCodec(EncodeFormatTable, ENCODE_FORMAT_COUNT, m_g7221));
    if (!m_codec || id < 0 || id > 255 ||
        !m_codec->OpenById(static_cast<uint8_t>(id), 1, &m_codecFormat)) {
        // No working codec: say so, so that setting the same id again retries.
        m_codecId = CODEC_ID_NONE;
        m_frameBytes = 0;
        m_blockBytes = 0;
        m_fec.reset();
        return 0;
    }
    CheckCaptureFormat();
    const EncodeFormatRow* row = m_codec->GetRow();
    m_blockBytes = row->blockBytes;
    m_frameBytes = static_cast<int>(row->frameBytes);
    m_codecId = static_cast<uint8_t>(id);
    m_codecRow = static_cast<uint8_t>(row - EncodeFormatTable);
    SetupFec(m_k, m_n, m_m);
    m_header = static_cast<uint8_t>(m_codecId | FecModeTable[m_fecMode].headerBits);
    return 1;
}

int AudioProcesser::SetFecMode(int mode)
{
    // Only the rows of the table exist; anything else is refused untouched.
    if (mode < 0 || mode >= FEC_MODE_COUNT)
        return 0;
    if (mode == m_fecMode)
        return 1;
    m_fecMode = static_cast<uint8_t>(mode);
    const FecModeRow& row = FecModeTable[mode];
    m_header = static_cast<uint8_t>((m_codecId & 0x0F) | row.headerBits);
    return SetupFec(row.k, row.n, row.m);
}

int AudioProcesser::SetupFec(int k, int n, int m)
{
    if (k < 0 || k > 32 || n < k || n > 64 || m < 1 || m > 5)
        return 0;
    m_fec.reset();
    m_fecPacket.clear();
    m_group.clear();
    m_k = k;
    m_n = n;
    m_m = m;
    m_framesCollected = 0;
    if (k == 0 || n == 0)
        return 1;
    int payload = m * m_frameBytes;
    if (payload < 1 || payload > FecEncoder::MAX_PAYLOAD)
        return 0; // remembered; built once a codec is set
    m_fecPayload = payload;
    m_fec.reset(new (std::nothrow) FecEncoder(n, k, payload));
    if (!m_fec || !m_fec->IsConfigured()) {
        m_fec.reset();
        return 0;
    }
    m_fecPacket.assign(static_cast<size_t>(FecHeader::SIZE + payload), 0);
    m_group.assign(static_cast<size_t>(payload), 0);
    return 1;
}

int AudioProcesser::Process(AUDIO_STREAM_HEAD* head)
{
    if (!head)
        return 0;
    CScopedLock lock(&m_lock);
    head->consumed = 0;
    head->outputLength = 0;
    uint8_t* input = static_cast<uint8_t*>(const_cast<void*>(head->input));
    uint8_t* output = static_cast<uint8_t*>(head->output);
    if (!m_codec || !m_codec->IsOpen() || m_codecId == CODEC_ID_NONE || !input || !output ||
        head->inputLength < m_blockBytes || m_blockBytes < AUDIO_BLOCK_BYTES)
        return 0;
    int16_t* samples = reinterpret_cast<int16_t*>(input);

    m_blockSilent = 0;
    if (m_silenceDrop) {
        if (m_vad.IsVoice(samples, AUDIO_BLOCK_SAMPLES)) {
            m_nonVoiceRun = 0;
        } else if (m_nonVoiceRun >= SILENCE_RUN) {
            m_blockSilent = 1;
        } else {
            ++m_nonVoiceRun;
        }
    }
    if (!m_blockSilent && (m_agcAns->IsNsOn() || m_agcAns->IsAgcOn()))
        m_agcAns->process_frame(samples, samples, AUDIO_BLOCK_SAMPLES);
    if (m_meter)
        m_meter->Add(input, m_blockBytes);
    if (m_blockSilent) {
        head->consumed = m_blockBytes;
        return 1;
    }

    const uint32_t capacity = head->outputCapacity;
    if (m_fec) {
        // The packet this block completes must fit before anything is counted.
        const uint32_t packetBytes = static_cast<uint32_t>(m_fecPayload + FecHeader::SIZE);
        const uint32_t worst = 1 + packetBytes * static_cast<uint32_t>(1 + (m_n - 1) / m_k);
        if (m_framesCollected + 1 == m_m && capacity < worst)
            return 0;
        uint8_t* slot = &m_group[static_cast<size_t>(m_framesCollected * m_frameBytes)];
        int coded = m_codec->Encode(input, m_blockBytes, slot, static_cast<uint32_t>(m_frameBytes));
        if (coded <= 0 || capacity < static_cast<uint32_t>(coded) + 1)
            return 0;
        if (++m_framesCollected < m_m) {
            head->consumed = m_blockBytes;
            return 1;
        }
        m_framesCollected = 0;
        memcpy(&m_fecPacket[FecHeader::SIZE], m_group.data(), static_cast<size_t>(m_fecPayload));
        FecEncoder::Output out;
        if (!m_fec->Accept(m_fecPacket.data(), m_fecPayload, &out))
            return 0;
        uint32_t total =
            1 + static_cast<uint32_t>(out.dataLength + out.parityCount * out.parityLength);
        if (capacity < total)
            return 0;
        output[0] = m_header;
        uint8_t* p = output + 1;
        memcpy(p, out.data, static_cast<size_t>(out.dataLength));
        p += out.dataLength;
        for (int i = 0; i < out.parityCount; ++i) {
            memcpy(p, out.parity[i], static_cast<size_t>(out.parityLength));
            p += out.parityLength;
        }
        head->outputLength = total;
        return 1;
    }
    if (capacity < 2)
        return 0;
    int coded = m_codec->Encode(input, m_blockBytes, output + 1, capacity - 1);
    if (coded <= 0 || capacity < static_cast<uint32_t>(coded) + 1)
        return 0;
    output[0] = m_header;
    head->outputLength = static_cast<uint32_t>(coded) + 1;
    return 1;
}

} // namespace SonvexFilterCore
