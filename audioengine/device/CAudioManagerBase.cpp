#include "CAudioManagerBase.h"

#include <cstring>
#include <new>

#include "CAecFilter.h"
#include "CAudioConvert.h"
#include "CScopedLock.h"
#include "RavoTLog.h"

namespace RavoTDevice {

CAudioManagerBase::CAudioManagerBase(CRavoBinding* ravo)
    : CNamedThread("Audio Manager Thread"), m_ravo(ravo)
{
    InitializeCriticalSection(&m_echoLock);
    InitializeCriticalSection(&m_processerLock);
    memset(&m_playFormat, 0, sizeof(m_playFormat));
    m_playFormat.wFormatTag = WAVE_FORMAT_PCM;
    m_playFormat.nChannels = 1;
    m_playFormat.nSamplesPerSec = 8000;
    m_playFormat.nAvgBytesPerSec = 16000;
    m_playFormat.nBlockAlign = 2;
    m_playFormat.wBitsPerSample = 16;
    m_playFormat.cbSize = 0;
    m_captureFormat = m_playFormat;
    memset(m_packet, 0, sizeof(m_packet));
    m_group = m_ravo->GetSourceGroup(&m_playFormat);
}

CAudioManagerBase::~CAudioManagerBase()
{
    SetAEC(0);
    DestroyProcesser();
    DeleteCriticalSection(&m_processerLock);
    DeleteCriticalSection(&m_echoLock);
}

uint32_t CAudioManagerBase::Run() { return 0; }

int CAudioManagerBase::GetEchoFilterMode() const
{
    return m_echo && m_echo->IsInitialised() ? m_echo->GetMode() : 0;
}

int CAudioManagerBase::GetPlayEnergy()
{
    return m_group ? Ravo().SourceGroup_GetEnergy(m_group) : 0;
}

int CAudioManagerBase::GetCapEnergy()
{
    return m_processer ? Ravo().Processer_GetEnergy(m_processer) : 0;
}

void CAudioManagerBase::DestroyProcesser()
{
    CScopedLock lock(&m_processerLock);
    if (m_processer)
        Ravo().Processer_Destroy(&m_processer);
    m_processer = nullptr;
}

int CAudioManagerBase::StartCapture(int, uint8_t formatIndex, void*, CaptureCallBack)
{
    DestroyProcesser();
    WAVEFORMATEX format;
    memset(&format, 0, sizeof(format));
    if (!Ravo().GetEncodeFormatIn(formatIndex, &format)) {
        RavoTLog().Write(
            1,
            "<CAudioManagerBase::StartCapture>,Sonvex_GetEncodeFormatIn failed,FormatIndex = %d\n",
            formatIndex);
        return 0;
    }
    m_captureFormat = format;
    void* processer = Ravo().Processer_Create(formatIndex, &m_captureFormat);
    if (!processer) {
        RavoTLog().Write(
            1,
            "<CAudioManagerBase::StartCapture>,Sonvex_Processer_Create failed,FormatIndex = %d\n",
            formatIndex);
        return 0;
    }
    {
        CScopedLock lock(&m_processerLock);
        m_processer = processer;
    }
    if (m_echoMode) {
        // The canceller restarts in mode 1 on the new capture format.
        CAudioManagerBase::SetAEC(0);
        CAudioManagerBase::SetAEC(1);
    }
    EnableSilenceDetect(m_silenceDetect);
    SetDenoise(m_denoise);
    SetFECMode(m_fecMode);
    SetAGC(m_agc);
    return 1;
}

int CAudioManagerBase::StopCapture()
{
    if (!m_processer)
        return 0;
    DestroyProcesser();
    return 1;
}

int CAudioManagerBase::SourceIsExist(uint32_t id)
{
    return m_group ? Ravo().SourceGroup_SourceIsExist(m_group, id) : 0;
}

int CAudioManagerBase::AddSource(uint32_t id)
{
    return m_group ? Ravo().SourceGroup_AddSource(m_group, id) : 0;
}

int CAudioManagerBase::RemoveSource(uint32_t id)
{
    return m_group ? Ravo().SourceGroup_RemoveSource(m_group, id) : 0;
}

int CAudioManagerBase::WriteSource(uint32_t id, uint8_t* packet, int length)
{
    if (!m_group || !packet || length <= 0)
        return 0;
    return Ravo().SourceGroup_WriteSource(m_group, id, packet, length);
}

int CAudioManagerBase::SetSourceVolume(uint32_t id, int volume)
{
    if (m_group)
        Ravo().SourceGroup_SetSourceVolume(m_group, id, volume);
    return 1;
}

int CAudioManagerBase::GetSourceVolume(uint32_t id)
{
    return m_group ? Ravo().SourceGroup_GetSourceVolume(m_group, id) : 0;
}

int CAudioManagerBase::GetSourceEnergy(uint32_t id)
{
    return m_group ? Ravo().SourceGroup_GetSourceEnergy(m_group, id) : 0;
}

int CAudioManagerBase::ReadData(uint8_t* buffer, int length)
{
    if (!m_group || !buffer || length <= 0)
        return 0;
    int got = Ravo().SourceGroup_ReadData(m_group, reinterpret_cast<short*>(buffer), length);
    if (got > length)
        got = length;
    if (got > 0 && m_echoMode && !m_playLocal) {
        CScopedLock lock(&m_echoLock);
        if (m_echo)
            m_echo->ProcessSpeekData(buffer, static_cast<uint32_t>(got));
    }
    return got;
}

int CAudioManagerBase::SetPlayLocal(int on)
{
    m_playLocal = on;
    if (m_group)
        Ravo().SourceGroup_EnableLocal(m_group, on);
    return 1;
}

int CAudioManagerBase::SetDenoise(int mode)
{
    m_denoise = mode;
    if (m_processer)
        Ravo().Processer_SetDenoise(m_processer, mode);
    return 1;
}

int CAudioManagerBase::EnableSilenceDetect(int on)
{
    m_silenceDetect = on;
    if (m_processer)
        Ravo().Processer_EnableSilenceDetect(m_processer, on);
    return 1;
}

int CAudioManagerBase::SetFECMode(int mode)
{
    m_fecMode = mode;
    if (m_processer)
        Ravo().Processer_SetFECMode(m_processer, mode);
    return 1;
}

int CAudioManagerBase::SetAGC(int mode)
{
    m_agc = mode;
    if (m_processer)
        Ravo().Processer_SetAGC(m_processer, mode);
    return 1;
}

int CAudioManagerBase::SetDenoiseChain(int variant)
{
    if (m_processer)
        Ravo().Processer_SetDenoiseChain(m_processer, variant);
    return 1;
}

int CAudioManagerBase::GetNetState(uint32_t id, void* state, char* text)
{
    if (!m_group || !state)
        return 0;
    return Ravo().SourceGroup_GetNetState(m_ravo->SourceGroupAddress(), id, state, text);
}

void CAudioManagerBase::SetAEC(int mode)
{
    CScopedLock lock(&m_echoLock);
    if (mode == m_echoMode)
        return;
    delete m_echo;
    m_echo = nullptr;
    m_echoMode = mode;
    if (mode == 0) {
        delete m_toNarrow;
        m_toNarrow = nullptr;
        delete m_fromNarrow;
        m_fromNarrow = nullptr;
        return;
    }
    m_echo = new (std::nothrow) CAecFilter();
    if (!m_echo) {
        RavoTLog().Write(1, "<CAudioManagerBase::SetAEC>,Out of Memeory!\n");
        return;
    }
    if (m_captureFormat.nSamplesPerSec != 8000) {
        WAVEFORMATEX narrow = m_captureFormat;
        narrow.nSamplesPerSec = 8000;
        narrow.nAvgBytesPerSec = 8000 * narrow.nBlockAlign;
        narrow.cbSize = 0;
        delete m_toNarrow;
        delete m_fromNarrow;
        m_toNarrow = new (std::nothrow) CAudioConvert();
        m_fromNarrow = new (std::nothrow) CAudioConvert();
        if (!m_toNarrow || !m_fromNarrow) {
            RavoTLog().Write(1, "<CAudioManagerBase::SetAEC>,Out of Memeory!\n");
            return;
        }
        if (!m_fromNarrow->Open(&narrow, &m_captureFormat)) {
            RavoTLog().Write(1, "<CAudioManagerBase::SetAEC>,Convert 8khz to 16khz failed.\n");
            return;
        }
        if (!m_toNarrow->Open(&m_captureFormat, &narrow)) {
            RavoTLog().Write(1, "<CAudioManagerBase::SetAEC>,Convert 16khz to 8khz failed.\n");
            return;
        }
        m_echo->Init(mode, &narrow, &m_playFormat);
    } else {
        delete m_toNarrow;
        m_toNarrow = nullptr;
        delete m_fromNarrow;
        m_fromNarrow = nullptr;
        m_echo->Init(mode, &m_captureFormat, &m_playFormat);
    }
}

void CAudioManagerBase::HandleLocalAudioData(uint8_t* block, int length)
{
    if (!m_processer) {
        RavoTLog().Write(1, "<CAudioManagerBase::HandleLocalAudioData>,m_hProcesser is NULL!\n");
        return;
    }
    if (!block || length <= 0)
        return;
    {
        CScopedLock lock(&m_echoLock);
        if (m_echoMode && m_echo && !m_playLocal) {
            if (m_toNarrow && m_fromNarrow && m_toNarrow->IsOpen() && m_fromNarrow->IsOpen()) {
                AUDIO_STREAM_HEAD down = {
                    block, static_cast<uint32_t>(length), 0, m_packet, PACKET_BUFFER_SIZE, 0};
                if (m_toNarrow->Convert(&down)) {
                    m_echo->ProcessMicData(m_packet, down.outputLength);
                    AUDIO_STREAM_HEAD up = {
                        m_packet, down.outputLength, 0, block, static_cast<uint32_t>(length), 0};
                    m_fromNarrow->Convert(&up);
                }
            } else if (!m_toNarrow) {
                m_echo->ProcessMicData(block, static_cast<uint32_t>(length));
            }
        }
    }
    AUDIO_STREAM_HEAD io = {block, static_cast<uint32_t>(length), 0, m_packet, PACKET_BUFFER_SIZE,
                            0};
    uint32_t extra = 0;
    {
        CScopedLock lock(&m_processerLock);
        if (!m_processer || !Ravo().Processer_Process(m_processer, &io, &extra))
            return;
    }
    if (io.outputLength == 0 || io.outputLength > PACKET_BUFFER_SIZE)
        return;
    if (m_playLocal && m_group)
        Ravo().SourceGroup_WriteLocal(m_group, m_packet, static_cast<int>(io.outputLength));
    if (m_captureCallback)
        m_captureCallback(m_captureContext, this, m_packet, static_cast<int>(io.outputLength));
}

int CAudioManagerBase::AudioCapCallBack(void* owner, void*, uint8_t* block, int length)
{
    if (!length || !owner) {
        RavoTLog().Write(
            1, "<CAudioManagerBase::AudioCapCallBack>,Param error,dwDataLen = %d,lpObj = %d\n",
            length, owner ? 1 : 0);
        return 0;
    }
    static_cast<CAudioManagerBase*>(owner)->HandleLocalAudioData(block, length);
    return length;
}

int CAudioManagerBase::AudioReadCallBack(void* owner, void*, uint8_t* buffer, int length)
{
    if (!length || !owner) {
        RavoTLog().Write(
            1, "<CAudioManagerBase::AudioReadCallBack>,Param error,dwDataLen = %d,lpObj = %d\n",
            length, owner ? 1 : 0);
        return 0;
    }
    return static_cast<CAudioManagerBase*>(owner)->ReadData(buffer, length);
}

} // namespace RavoTDevice
