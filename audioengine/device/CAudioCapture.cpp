#include "CAudioCapture.h"

#include <cstring>
#include <new>

#include "CCaptureCollector.h"
#include "RavoTLog.h"

namespace RavoTDevice {

CAudioCapture::CAudioCapture(AudioCommon::IWaveApi* api) : CNamedThread(nullptr), m_api(api)
{
    memset(m_headers, 0, sizeof(m_headers));
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_doneEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
}

CAudioCapture::~CAudioCapture()
{
    Stop();
    CloseHandle(m_stopEvent);
    CloseHandle(m_doneEvent);
}

void CAudioCapture::SetCallback(void* owner, AudioDataCallBack callback)
{
    m_owner = owner;
    m_callback = callback;
}

int CAudioCapture::StartCapture(int deviceId, const WAVEFORMATEX* format, int blockBytes)
{
    if (!format || blockBytes <= 0) {
        RavoTLog().Write(1, "<CAudioCapture::StartCapture>,param error,lpWfx = %d,nBuffSize = %d\n",
                         format ? 1 : 0, blockBytes);
        return 0;
    }
    if (m_wave)
        return 0;
    m_bufferSize = blockBytes;
    ResetEvent(m_stopEvent);
    MMRESULT mr = m_api->InOpen(&m_wave, static_cast<UINT>(deviceId), format,
                                reinterpret_cast<DWORD_PTR>(&CAudioCapture::WaveInProc),
                                reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (mr != MMSYSERR_NOERROR) {
        m_wave = nullptr;
        RavoTLog().Write(
            1, "<CAudioCapture::StartCapture>,waveInOpen failed,uiID = %d,nBufferSize = %d\n",
            deviceId, blockBytes);
        return 0;
    }
    if (!PrepareHeaders()) {
        RavoTLog().Write(
            1, "<CAudioCapture::StartCapture>,PrepareHeader failed,uiID = %d,nBufferSize = %d\n",
            deviceId, blockBytes);
        Stop();
        return 0;
    }
    m_pool = new (std::nothrow) CBufferPool(POOL_COUNT, static_cast<uint32_t>(blockBytes));
    if (!m_pool || m_pool->GetOwnedCount() == 0) {
        RavoTLog().Write(
            1, "<CAudioCapture::StartCapture>,new CBufferPool failed,m_nBufferSize = %d\n",
            blockBytes);
        Stop();
        return 0;
    }
    m_filled = 0;
    m_collector = new (std::nothrow) CCaptureCollector(this);
    if (!m_collector || !m_collector->Start()) {
        Stop();
        return 0;
    }
    m_collector->SetPriority(THREAD_PRIORITY_HIGHEST);
    if (m_api->InStart(m_wave) != MMSYSERR_NOERROR) {
        RavoTLog().Write(
            1, "<CAudioCapture::StartCapture>,waveInStart failed,uiID = %d,nBufferSize = %d\n",
            deviceId, blockBytes);
        Stop();
        return 0;
    }
    if (!Start()) {
        Stop();
        return 0;
    }
    SetPriority(THREAD_PRIORITY_HIGHEST);
    return 1;
}

bool CAudioCapture::PrepareHeaders()
{
    m_nextHeader = 0;
    for (int i = 0; i < BUFFER_COUNT; ++i) {
        WAVEHDR& h = m_headers[i];
        memset(&h, 0, sizeof(h));
        h.lpData = static_cast<LPSTR>(LocalAlloc(LMEM_FIXED, m_bufferSize));
        if (!h.lpData) {
            RavoTLog().Write(
                1, "<CAudioCapture::PrepareHeader>,Alloc audio buffer failed,BufferSize = %d\n",
                m_bufferSize);
            return false;
        }
        h.dwBufferLength = m_bufferSize;
        ++m_buffers;
        if (m_api->InPrepareHeader(m_wave, &h) != MMSYSERR_NOERROR ||
            m_api->InAddBuffer(m_wave, &h) != MMSYSERR_NOERROR)
            return false;
    }
    return true;
}

void CAudioCapture::UnPrepareHeaders()
{
    if (m_buffers <= 0 || m_bufferSize <= 0) {
        RavoTLog().Write(
            1, "<CAudioCapture::UnPrepareHeader>,Param error,m_nBuffers=%d,m_nBufferSize=%d\n",
            m_buffers, m_bufferSize);
        return;
    }
    for (int i = 0; i < BUFFER_COUNT; ++i) {
        WAVEHDR& h = m_headers[i];
        if (!h.lpData)
            continue;
        if (h.dwFlags & WHDR_PREPARED)
            m_api->InUnprepareHeader(m_wave, &h);
        LocalFree(h.lpData);
        memset(&h, 0, sizeof(h));
    }
    m_buffers = 0;
}

void CALLBACK CAudioCapture::WaveInProc(HWAVEIN, UINT message, DWORD_PTR instance, DWORD_PTR,
                                        DWORD_PTR)
{
    // Only wake the capture thread: the driver's callback may call no wave
    // function, so the header goes back to the driver from the thread.
    if (message == WIM_DATA && instance)
        SetEvent(reinterpret_cast<CAudioCapture*>(instance)->m_doneEvent);
}

void CAudioCapture::Queue(const WAVEHDR& header)
{
    CQueueBuffer* buffer = m_pool->GetFree(0);
    if (!buffer) {
        // Full: the oldest third of the queued blocks go.
        LONG drop = m_filled / 3;
        for (LONG i = 0; i < drop; ++i) {
            CQueueBuffer* old = m_pool->GetFilled(0);
            if (!old)
                break;
            InterlockedDecrement(&m_filled);
            m_pool->PutFree(old);
            InterlockedIncrement(&m_dropped);
        }
        buffer = m_pool->GetFree(0);
    }
    if (!buffer) {
        InterlockedIncrement(&m_dropped);
        return;
    }
    uint32_t length = header.dwBytesRecorded;
    if (length > buffer->GetCapacity())
        length = buffer->GetCapacity();
    memcpy(buffer->GetData(), header.lpData, length);
    buffer->SetLength(length);
    InterlockedIncrement(&m_filled);
    m_pool->PutFilled(buffer);
}

void CAudioCapture::Harvest()
{
    for (int n = 0; n < BUFFER_COUNT; ++n) {
        WAVEHDR& h = m_headers[m_nextHeader];
        if (!(h.dwFlags & WHDR_DONE))
            break;
        if (h.dwBytesRecorded > 0)
            Queue(h);
        h.dwFlags &= ~WHDR_DONE;
        h.dwBytesRecorded = 0;
        m_api->InAddBuffer(m_wave, &h);
        m_nextHeader = (m_nextHeader + 1) % BUFFER_COUNT;
    }
}

void CAudioCapture::CollectLoop()
{
    HANDLE events[2] = {m_stopEvent, m_doneEvent};
    for (;;) {
        DWORD wait = WaitForMultipleObjects(2, events, FALSE, 500);
        if (wait == WAIT_OBJECT_0 || wait == WAIT_FAILED)
            break;
        Harvest();
    }
}

uint32_t CAudioCapture::Run()
{
    if (!m_pool || !m_callback) {
        RavoTLog().Write(
            1,
            "<CAudioCapture::ThreadProcEx>,Param error,m_pBufferPool = %d,m_AudioCapCallBack=%d\n",
            m_pool ? 1 : 0, m_callback ? 1 : 0);
        return 0;
    }
    for (;;) {
        CQueueBuffer* buffer = m_pool->GetFilled(INFINITE);
        if (!buffer)
            break;
        InterlockedDecrement(&m_filled);
        m_callback(m_owner, this, buffer->GetData(), static_cast<int>(buffer->GetLength()));
        m_pool->PutFree(buffer);
    }
    return 0;
}

void CAudioCapture::Stop()
{
    SetEvent(m_stopEvent);
    // The collector ends at the stop event, so nothing re-queues a header;
    // the reset then hands every pending header back without waiting on a
    // block the driver may never return.
    if (m_collector) {
        m_collector->Stop();
        delete m_collector;
        m_collector = nullptr;
    }
    if (m_wave) {
        m_api->InReset(m_wave);
        UnPrepareHeaders();
        m_api->InClose(m_wave);
        m_wave = nullptr;
    }
    if (m_pool)
        m_pool->Stop();
    CNamedThread::Stop();
    delete m_pool;
    m_pool = nullptr;
    m_filled = 0;
}

} // namespace RavoTDevice
