#include "CAecFilter.h"

#include <cstring>
#include <new>

#include "ApaEchoState.h"
#include "CAudioConvert.h"
#include "NlmsEchoState.h"
#include "RavoTLog.h"

namespace RavoTDevice {

namespace {
// Modes 3 to 5 share one state across the library.
NlmsEchoState& SharedState()
{
    static NlmsEchoState state(NlmsEchoState::SharedModes(8000, 5));
    return state;
}

bool SameFormat(const WAVEFORMATEX& a, const WAVEFORMATEX& b)
{
    return a.wFormatTag == b.wFormatTag && a.nChannels == b.nChannels &&
           a.wBitsPerSample == b.wBitsPerSample && a.nSamplesPerSec == b.nSamplesPerSec;
}
} // namespace

CAecFilter::CAecFilter()
{
    memset(&m_micFormat, 0, sizeof(m_micFormat));
    memset(&m_speakerFormat, 0, sizeof(m_speakerFormat));
    QueryPerformanceFrequency(&m_frequency);
}

CAecFilter::~CAecFilter() { Release(); }

void CAecFilter::Release()
{
    delete m_nlms;
    m_nlms = nullptr;
    delete m_apa;
    m_apa = nullptr;
    m_sharedMarker = nullptr;
    delete m_converter;
    m_converter = nullptr;
    delete[] m_convertBuf;
    m_convertBuf = nullptr;
    m_convertBufSize = 0;
    delete[] m_ring;
    m_ring = nullptr;
    m_ringSize = 0;
    m_writePos = m_readPos = 0;
    m_speakerBytes = m_micBytes = 0;
    m_initialised = 0;
    m_mode = 0;
}

int CAecFilter::Init(int mode, const WAVEFORMATEX* micFormat, const WAVEFORMATEX* speakerFormat)
{
    Release();
    if (!micFormat || !speakerFormat || micFormat->nAvgBytesPerSec == 0)
        return 0;
    if (!SameFormat(*micFormat, *speakerFormat)) {
        m_converter = new (std::nothrow) CAudioConvert();
        if (!m_converter || !m_converter->Open(speakerFormat, micFormat)) {
            RavoTLog().Write(1, "<CAecFilter::Init>,Start Audio Converter failed.\n");
            Release();
            return 0;
        }
    }
    m_micFormat = *micFormat;
    m_speakerFormat = *speakerFormat;
    m_mode = mode;
    if (mode == 1) {
        m_nlms = new (std::nothrow) NlmsEchoState(NlmsEchoState::ModeOne());
        if (!m_nlms) {
            Release();
            return 0;
        }
    } else if (mode == 2) {
        m_apa = new (std::nothrow) ApaEchoState(64, true);
        if (!m_apa) {
            Release();
            return 0;
        }
    } else if (mode >= 3 && mode <= 5) {
        SharedState().Reset(NlmsEchoState::SharedModes(micFormat->nSamplesPerSec, mode));
        m_sharedMarker = &SharedState();
    }
    m_ringSize = micFormat->nAvgBytesPerSec;
    m_ring = new (std::nothrow) uint8_t[m_ringSize];
    if (!m_ring) {
        RavoTLog().Write(1, "<CAecFilter::Init>,new m_pbAecBuf failed,size = %d\n",
                         static_cast<int>(m_ringSize));
        Release();
        return 0;
    }
    memset(m_ring, 0, m_ringSize);
    if (m_converter) {
        m_convertBufSize = 4096;
        m_convertBuf = new (std::nothrow) uint8_t[m_convertBufSize];
        if (!m_convertBuf) {
            RavoTLog().Write(1, "<CAecFilter::Init>,new m_pbConvertBuf failed,size = %d\n", 4096);
            Release();
            return 0;
        }
    }
    m_intervalBytes = micFormat->nAvgBytesPerSec / 20;
    m_initialised = 1;
    return 1;
}

void CAecFilter::ProcessSpeekData(const uint8_t* data, uint32_t length)
{
    if (!m_initialised) {
        RavoTLog().Write(1, "<CAecFilter::ProcessSpeekData>,Not initialized!\n");
        return;
    }
    if (!data || length == 0)
        return;
    if (m_converter) {
        AUDIO_STREAM_HEAD io = {const_cast<uint8_t*>(data), length, 0, m_convertBuf,
                                m_convertBufSize,           0};
        if (!m_converter->Convert(&io))
            return;
        data = m_convertBuf;
        length = io.outputLength;
    }
    if (length > m_ringSize) {
        RavoTLog().Write(1, "<CAecFilter::ProcessSpeekData>,unDataLen > m_unAecBufSize\n");
        return;
    }
    uint32_t first = m_ringSize - m_writePos;
    if (first > length)
        first = length;
    memcpy(m_ring + m_writePos, data, first);
    memcpy(m_ring, data + first, length - first);
    m_writePos += length;
    if (m_writePos >= m_ringSize)
        m_writePos -= m_ringSize;
    uint32_t before = m_speakerBytes;
    m_speakerBytes += length;
    if (m_speakerBytes < before)
        m_micBytes = 0;
}

void CAecFilter::ProcessMicData(uint8_t* samples, uint32_t length)
{
    if (!m_initialised || !samples)
        return;
    if (static_cast<uint64_t>(m_speakerBytes) <
        static_cast<uint64_t>(m_micBytes) + m_intervalBytes) {
        RavoTLog().Write(5,
                         "<CAecFilter::ProcessMicData>,ATTENTION:m_lSpeakDataLen < "
                         "m_lMicDataLen+m_unIntervalBytes,Speak Datalen = %u,Mic Datalen=%u\n",
                         m_speakerBytes, m_micBytes);
        return;
    }
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    if (length > m_ringSize)
        length = m_ringSize;
    if (m_micFormat.wBitsPerSample == 16) {
        int16_t* mic = reinterpret_cast<int16_t*>(samples);
        uint32_t count = length / 2;
        uint32_t pos = m_readPos;
        NlmsEchoState* shared = m_sharedMarker ? &SharedState() : nullptr;
        for (uint32_t i = 0; i < count; ++i) {
            int16_t farSample;
            memcpy(&farSample, m_ring + pos, 2);
            pos += 2;
            if (pos >= m_ringSize)
                pos -= m_ringSize;
            // Every sample advances the algorithm, silent ones too, so that
            // its histories stay aligned with the echo path; a silent
            // microphone sample stays silent.
            int16_t out = mic[i];
            if (m_nlms)
                out = m_nlms->Process(mic[i], farSample);
            else if (m_apa)
                out = m_apa->Process(farSample, mic[i]);
            else if (shared)
                out = shared->Process(mic[i], farSample);
            if (mic[i] != 0)
                mic[i] = out;
        }
    }
    m_readPos += length;
    if (m_readPos >= m_ringSize)
        m_readPos -= m_ringSize;
    m_micBytes += length;
    QueryPerformanceCounter(&end);
    double seconds = m_frequency.QuadPart
                         ? static_cast<double>(end.QuadPart - begin.QuadPart) / m_frequency.QuadPart
                         : 0.0;
    RavoTLog().Write(5,
                     "<CAecFilter::ProcessMicData>,process time = %f s,process len = %d,readptr = "
                     "%d,writeptr = %d,mic datalen = %u, speak datalen = %u\n",
                     seconds, static_cast<int>(length), static_cast<int>(m_readPos),
                     static_cast<int>(m_writePos), m_micBytes, m_speakerBytes);
}

} // namespace RavoTDevice
