#include "CAudioCapture.h"

#include <cstring>

#include "CScopedLock.h"
#include "SonvexLog.h"

namespace SonvexDevice {

CAudioCapture::CAudioCapture(AudioCommon::IWaveApi& wave) : m_wave(wave)
{
    m_stopEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    InitializeCriticalSection(&m_callbackLock);
    memset(m_headers, 0, sizeof(m_headers));
    memset(&m_requested, 0, sizeof(m_requested));
    memset(&m_device, 0, sizeof(m_device));
    m_device.wFormatTag = WAVE_FORMAT_PCM;
    m_device.nChannels = 1;
    m_device.nSamplesPerSec = DEVICE_RATE;
    m_device.nAvgBytesPerSec = DEVICE_RATE * 2;
    m_device.nBlockAlign = 2;
    m_device.wBitsPerSample = 16;
}

CAudioCapture::~CAudioCapture()
{
    // A device left open by a failed start is closed here, before the
    // buffers it still holds are freed.
    if (m_handle)
        Stop();
    CloseHandle(m_stopEvent);
    DeleteCriticalSection(&m_callbackLock);
    delete m_converter;
    delete m_block;
}

void CAudioCapture::SetCallback(void* context, DEVICE_BLOCK_CALLBACK callback)
{
    m_context = context;
    m_callback = callback;
}

int CAudioCapture::StartCapture(UINT device, const tWAVEFORMATEX* format, int blockSize)
{
    if (!format || blockSize <= 0) {
        SonvexLog(1, "<CAudioCapture::StartCapture>,param error,lpWfx = %d,nBuffSize = %d\n",
                  (int)(intptr_t)format, blockSize);
        return 0;
    }
    m_requested = *format;
    delete m_converter;
    m_converter = nullptr;
    if (m_requested.nSamplesPerSec != DEVICE_RATE)
        m_converter =
            new RateConverter(static_cast<double>(m_requested.nSamplesPerSec) / DEVICE_RATE);
    delete m_block;
    m_block = new CAudioBlock(static_cast<uint32_t>(blockSize));
    m_sequence = 0;
    m_stopping = 0;

    MMRESULT result = m_wave.InOpen(&m_handle, device, &m_device,
                                    reinterpret_cast<DWORD_PTR>(&CAudioCapture::WaveInProc),
                                    reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) {
        m_handle = nullptr;
        SonvexLog(1, "<CAudioCapture::StartCapture>,waveInOpen failed,uiID = %d,nBufferSize = %d\n",
                  (int)device, blockSize);
        return 0;
    }
    // Signalled only while no buffer is queued.
    ResetEvent(m_stopEvent);
    if (!PrepareHeaders()) {
        SonvexLog(1,
                  "<CAudioCapture::StartCapture>,PrepareHeader failed,uiID = %d,nBufferSize = %d\n",
                  (int)device, blockSize);
        CloseDevice();
        return 0;
    }
    if (m_wave.InStart(m_handle) != MMSYSERR_NOERROR) {
        SonvexLog(1,
                  "<CAudioCapture::StartCapture>,waveInStart failed,uiID = %d,nBufferSize = %d\n",
                  (int)device, blockSize);
        CloseDevice();
        return 0;
    }
    return 1;
}

bool CAudioCapture::PrepareHeaders()
{
    int queued = 0;
    for (int i = 0; i < m_buffers; ++i) {
        WAVEHDR& h = m_headers[i];
        memset(&h, 0, sizeof(h));
        h.lpData = static_cast<LPSTR>(LocalAlloc(LMEM_FIXED, m_bufferSize));
        if (!h.lpData) {
            SonvexLog(1,
                      "<CAudioCapture::PrepareHeader>,Alloc audio buffer failed,BufferSize = %d\n",
                      m_bufferSize);
            break;
        }
        h.dwBufferLength = m_bufferSize;
        if (m_wave.InPrepareHeader(m_handle, &h) != MMSYSERR_NOERROR)
            break;
        InterlockedIncrement(&m_queued);
        if (m_wave.InAddBuffer(m_handle, &h) != MMSYSERR_NOERROR) {
            InterlockedDecrement(&m_queued);
            break;
        }
        ++queued;
    }
    return queued == m_buffers;
}

void CAudioCapture::UnprepareHeaders()
{
    if (m_buffers <= 0 || m_bufferSize <= 0) {
        SonvexLog(1,
                  "<CAudioCapture::UnPrepareHeader>,Param error,m_nBuffers=%d,m_nBufferSize=%d\n",
                  m_buffers, m_bufferSize);
        return;
    }
    for (int i = 0; i < m_buffers; ++i) {
        WAVEHDR& h = m_headers[i];
        if (!h.lpData)
            continue;
        if (h.dwFlags & WHDR_PREPARED)
            m_wave.InUnprepareHeader(m_handle, &h);
        LocalFree(h.lpData);
        memset(&h, 0, sizeof(h));
    }
}

void CAudioCapture::CloseDevice()
{
    if (!m_handle)
        return;
    EnterCriticalSection(&m_callbackLock);
    InterlockedExchange(&m_stopping, 1);
    LeaveCriticalSection(&m_callbackLock);
    // The reset hands every queued buffer back at once; the wait is bounded
    // so that a device that never gives its buffers back cannot hang a stop.
    m_wave.InReset(m_handle);
    if (m_queued > 0 && WaitForSingleObject(m_stopEvent, STOP_WAIT_MS) != WAIT_OBJECT_0) {
        // The device still holds buffers: they stay allocated rather than
        // be written into after they were freed.
        SonvexLog(1, "<CAudioCapture::Stop>,%d buffers did not come back\n", (int)m_queued);
        memset(m_headers, 0, sizeof(m_headers));
    }
    UnprepareHeaders();
    m_wave.InClose(m_handle);
    m_handle = nullptr;
    m_queued = 0;
    SetEvent(m_stopEvent);
}

void CAudioCapture::Stop()
{
    SonvexLog(1, "start CAudioCapture::Stop \n");
    CloseDevice();
    SonvexLog(1, "Wait m_evWaitStop End\n");
    delete m_converter;
    m_converter = nullptr;
    SonvexLog(1, "End CAudioCapture::Stop\n");
}

void CALLBACK CAudioCapture::WaveInProc(HWAVEIN, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                        DWORD_PTR)
{
    if (message != WIM_DATA || !instance)
        return;
    reinterpret_cast<CAudioCapture*>(instance)->OnData(reinterpret_cast<WAVEHDR*>(param1));
}

void CAudioCapture::OnData(WAVEHDR* header)
{
    if (!header)
        return;
    CScopedLock lock(&m_callbackLock);
    if (m_stopping) {
        LONG left = InterlockedDecrement(&m_queued);
        SonvexLog(1, "pAudioCapture->m_nBlockCount = %d \n", (int)left);
        if (left <= 0)
            SetEvent(m_stopEvent);
        return;
    }
    const int want = m_block ? static_cast<int>(m_block->m_length / 2) : 0;
    bool ok = header->dwBytesRecorded == static_cast<DWORD>(m_bufferSize) && want > 0;
    if (ok) {
        const int16_t* in = reinterpret_cast<const int16_t*>(header->lpData);
        const int samples = m_bufferSize / 2;
        if (m_converter)
            ok = m_converter->Convert(in, samples, m_block->Samples(), want) == want;
        else if (want == samples)
            memcpy(m_block->m_data, in, m_bufferSize);
        else
            ok = false;
    }
    if (!ok) {
        // Dropped: not queued again and no longer counted.
        InterlockedDecrement(&m_queued);
        return;
    }
    m_block->Stamp(CAudioBlock::KIND_NEAR, m_sequence++, m_wave.Now());
    if (m_callback)
        m_callback(m_context, &m_block);
    header->dwBytesRecorded = 0;
    if (m_wave.InAddBuffer(m_handle, header) != MMSYSERR_NOERROR)
        InterlockedDecrement(&m_queued);
}

} // namespace SonvexDevice
