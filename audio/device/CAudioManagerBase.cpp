#include "CAudioManagerBase.h"

#include <cstring>

#include "CScopedLock.h"
#include "SonvexLog.h"

namespace SonvexDevice {

CAudioManagerBase::CAudioManagerBase(int rate, IMixerApi& mixer)
    : CNamedThread("Audio Manager Thread"), g_audProc(mixer)
{
    memset(m_format, 0, sizeof(m_format));
    int blockSize = 0;
    switch (rate) {
    case 8000:
        blockSize = 480;
        break;
    case 16000:
        blockSize = 640;
        break;
    case 22050:
        blockSize = 882;
        break;
    default:
        break;
    }
    if (blockSize) {
        m_format[0].wFormatTag = WAVE_FORMAT_PCM;
        m_format[0].nChannels = 1;
        m_format[0].nSamplesPerSec = rate;
        m_format[0].nAvgBytesPerSec = rate * 2;
        m_format[0].nBlockAlign = 2;
        m_format[0].wBitsPerSample = 16;
        m_format[0].cbSize = 0;
    }
    m_blockSize = blockSize;
    m_format[1] = m_format[0];
    if (!g_audProc.init(16000, 20))
        SonvexLog(1, " g_audProc.init(16000,20) failed !");
    InitializeCriticalSection(&m_lock);
}

CAudioManagerBase::~CAudioManagerBase()
{
    SetAEC(0);
    DeleteCriticalSection(&m_lock);
}

bool CAudioManagerBase::CanStream(const char* who) const
{
    if (m_blockSize == BLOCK_BYTES)
        return true;
    SonvexLog(1, "<%s>,rate %d gives %d-byte blocks, only 640-byte blocks are processed\n", who,
              (int)m_format[0].nSamplesPerSec, m_blockSize);
    return false;
}

int CAudioManagerBase::CopyDeviceName(const char* name, size_t limit, char* buffer, int size)
{
    if (!name || !buffer || size <= 0)
        return 0;
    int length = static_cast<int>(strnlen(name, limit));
    if (length >= size)
        return 0;
    memcpy(buffer, name, length);
    buffer[length] = '\0';
    return length;
}

int CAudioManagerBase::StartCapture(int device, SONVEX_CAPTURE_CALLBACK callback, void* context)
{
    g_audProc.SetCallback(callback, context);
    m_captureCallback = callback;
    m_captureContext = context;
    g_audProc.OpenCaptureVolume(MixerDevice(device));
    return 1;
}

void CAudioManagerBase::StopCapture()
{
    // The microphone volume the echo canceller moved goes back.
    g_audProc.CloseCaptureVolume();
}

void CAudioManagerBase::SetAEC(int mode)
{
    CScopedLock lock(&m_lock);
    g_audProc.SetAEC(mode ? 1 : 0);
}

void CAudioManagerBase::HandleCapAudioData(CAudioBlock** block)
{
    if (!block || !*block || (*block)->m_length != BLOCK_BYTES) {
        SonvexLog(1, "CAudioManagerBase::HandleCapAudioData dataLen  Size Error!\n");
        return;
    }
    CScopedLock lock(&m_lock);
    g_audProc.NearInput(block);
}

int CAudioManagerBase::ReadData(CAudioBlock** block)
{
    if (!block || !*block || (*block)->m_length != BLOCK_BYTES) {
        SonvexLog(1, "CAudioManagerBase::ReadData dataLen  Size Error!\n");
        return 0;
    }
    CScopedLock lock(&m_lock);
    g_audProc.FarInput(block);
    CAudioBlock* next = *block;
    // The spare may hold an old block: a caller that fills nothing plays
    // silence, never stale audio.
    memset(next->m_data, 0, next->m_length);
    int result = 0;
    if (m_playCallback)
        result = m_playCallback(m_playContext, this, next->Samples(), BLOCK_BYTES);
    g_audProc.FarReference(next->Samples(), BLOCK_BYTES);
    return result;
}

int CAudioManagerBase::AudioCapCallBack(void* context, CAudioBlock** block)
{
    const int length = (block && *block) ? static_cast<int>((*block)->m_length) : 0;
    if (!context || length == 0) {
        SonvexLog(1,
                  "<CAudioManagerBase::AudioCapCallBack>,Param error,dwDataLen = %d,lpObj = %d\n",
                  length, (int)(intptr_t)context);
        return 0;
    }
    static_cast<CAudioManagerBase*>(context)->HandleCapAudioData(block);
    return length;
}

int CAudioManagerBase::AudioReadCallBack(void* context, CAudioBlock** block)
{
    const int length = (block && *block) ? static_cast<int>((*block)->m_length) : 0;
    if (!context || length == 0) {
        SonvexLog(1,
                  "<CAudioManagerBase::AudioReadCallBack>,Param error,dwDataLen = %d,lpObj = %d\n",
                  length, (int)(intptr_t)context);
        return 0;
    }
    return static_cast<CAudioManagerBase*>(context)->ReadData(block);
}

} // namespace SonvexDevice
