#include "CAudioCapture.h"

#include <cstring>
#include <new>

#include "RavoTLog.h"

CAudioCapture::CAudioCapture(IWaveApi* api) : CNamedThread(nullptr), m_api(api)
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
        RavoTLog().Write(1, "<CAudioCapture::StartCapture>,waveInOpen failed,uiID = %d,nBufferSize = %d\n",
                         deviceId, blockBytes);
        return 0;
    }
    if (!PrepareHeaders()) {
        RavoTLog().Write(1, "<CAudioCapture::StartCapture>,PrepareHeader failed,uiID = %d,nBufferSize = %d\n",
                         deviceId, blockBytes);
        Stop();
        return 0;
    }
    m_pool = new (std::nothrow) CBufferPool(POOL_COUNT, static_cast<uint32_t>(blockBytes));
    if (!m_pool || m_pool->GetOwnedCount() == 0) {
        RavoTLog().Write(1, "<CAudioCapture::StartCapture>,new CBufferPool failed,m_nBufferSize = %d\n",
                         blockBytes);
        Stop();
        return 0;
    }
    m_filled = 0;
    if (m_api->InStart(m_wave) != MMSYSERR_NOERROR) {
        RavoTLog().Write(1, "<CAudioCapture::StartCapture>,waveInStart failed,uiID = %d,nBufferSize = %d\n",
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
            RavoTLog().Write(1, "<CAudioCapture::PrepareHeader>,Alloc audio buffer failed,BufferSize = %d\n",
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
        RavoTLog().Write(1, "<CAudioCapture::UnPrepareHeader>,Param error,m_nBuffers=%d,m_nBufferSize=%d\n",
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
    if (!buffer && m_filled > 0) {
        // Full: the oldest third of the queued blocks go.
        int drop = m_filled / 3;
        for (int i = 0; i < drop; ++i) {
            CQueueBuffer* old = m_pool->GetFilled(0);
            if (!old)
                break;
            m_pool->PutFree(old);
            --m_filled;
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
    m_pool->PutFilled(buffer);
    ++m_filled;
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

uint32_t CAudioCapture::Run()
{
    if (!m_pool || !m_callback) {
        RavoTLog().Write(1, "<CAudioCapture::ThreadProcEx>,Param error,m_pBufferPool = %d,m_AudioCapCallBack=%d\n",
                         m_pool ? 1 : 0, m_callback ? 1 : 0);
        return 0;
    }
    HANDLE events[2] = {m_stopEvent, m_doneEvent};
    for (;;) {
        DWORD wait = WaitForMultipleObjects(2, events, FALSE, m_filled > 0 ? 0 : 500);
        if (wait == WAIT_OBJECT_0)
            break;
        Harvest();
        // One block per round, so that returned driver buffers are taken
        // back between two slow callbacks and the pool absorbs the delay.
        CQueueBuffer* buffer = m_pool->GetFilled(0);
        if (buffer) {
            --m_filled;
            m_callback(m_owner, this, buffer->GetData(), static_cast<int>(buffer->GetLength()));
            m_pool->PutFree(buffer);
        }
    }
    return 0;
}

void CAudioCapture::Stop()
{
    SetEvent(m_stopEvent);
    // The thread ends at the stop event, so nothing re-queues a header; the
    // reset then hands every pending header back without waiting on the
    // driver.
    CNamedThread::Stop();
    if (m_wave) {
        m_api->InReset(m_wave);
        UnPrepareHeaders();
        m_api->InClose(m_wave);
        m_wave = nullptr;
    }
    if (m_pool) {
        m_pool->Stop();
        delete m_pool;
        m_pool = nullptr;
    }
    m_filled = 0;
}
