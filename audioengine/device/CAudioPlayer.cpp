#include "CAudioPlayer.h"

#include <cstring>

#include "CScopedLock.h"
#include "RavoTLog.h"

namespace RavoTDevice {

CAudioPlayer::CAudioPlayer(AudioCommon::IWaveApi* api)
    : CNamedThread("Audio Player Thread"), m_api(api)
{
    memset(m_headers, 0, sizeof(m_headers));
    memset(&m_format, 0, sizeof(m_format));
    m_stopEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_blockSemaphore = CreateSemaphoreA(nullptr, BLOCK_COUNT, BLOCK_COUNT, nullptr);
    InitializeCriticalSection(&m_tapLock);
}

CAudioPlayer::~CAudioPlayer()
{
    Stop();
    CloseHandle(m_stopEvent);
    CloseHandle(m_blockSemaphore);
    DeleteCriticalSection(&m_tapLock);
}

void CAudioPlayer::SetReadCallback(AudioDataCallBack callback, void* owner)
{
    m_read = callback;
    m_readOwner = owner;
}

void CAudioPlayer::SetPlayTap(void* context, AudioDataCallBack tap)
{
    CScopedLock lock(&m_tapLock);
    m_tapContext = context;
    m_tap = tap;
}

void CAudioPlayer::GetFormat(WAVEFORMATEX* out) const
{
    if (out)
        *out = m_format;
}

int CAudioPlayer::Start(int deviceId, const WAVEFORMATEX* format, int blockBytes)
{
    if (!format || blockBytes <= 0 || m_wave)
        return 0;
    m_deviceId = deviceId;
    m_format = *format;
    m_format.cbSize = 0;
    m_blockBytes = blockBytes;
    ResetEvent(m_stopEvent);
    MMRESULT mr = m_api->OutOpen(&m_wave, static_cast<UINT>(deviceId), &m_format,
                                 reinterpret_cast<DWORD_PTR>(&CAudioPlayer::WaveOutProc),
                                 reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (mr != MMSYSERR_NOERROR) {
        m_wave = nullptr;
        RavoTLog().Write(1,
                         "<CAudioPlayer::Start>,waveOutOpen failed,DeviceID = %d,BlockSize = %d\n",
                         deviceId, blockBytes);
        return 0;
    }
    if (!CreateWaveBuffers()) {
        RavoTLog().Write(
            1, "<CAudioPlayer::Start>,CreateWaveBuffer failed,DeviceID = %d,BlockSize = %d\n",
            deviceId, blockBytes);
        FreeWaveBuffers();
        m_api->OutClose(m_wave);
        m_wave = nullptr;
        return 0;
    }
    InterlockedExchange(&m_running, 1);
    m_nextHeader = 0;
    if (!CNamedThread::Start()) {
        Stop();
        return 0;
    }
    SetPriority(THREAD_PRIORITY_HIGHEST);
    return 1;
}

bool CAudioPlayer::CreateWaveBuffers()
{
    if (!m_wave) {
        RavoTLog().Write(1, "<CAudioPlayer::CreateWaveBuffer>,m_hWave is NULL\n");
        return false;
    }
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        WAVEHDR& h = m_headers[i];
        memset(&h, 0, sizeof(h));
        h.lpData = static_cast<LPSTR>(LocalAlloc(LMEM_FIXED | LMEM_ZEROINIT, m_blockBytes));
        if (!h.lpData) {
            RavoTLog().Write(
                1, "<CAudioPlayer::CreateWaveBuffer>,Alloc Audio Buffer failed,BlockSize = %d\n",
                m_blockBytes);
            return false;
        }
        h.dwBufferLength = m_blockBytes;
        if (m_api->OutPrepareHeader(m_wave, &h) != MMSYSERR_NOERROR)
            return false;
    }
    // The semaphore counts free headers: all five at the start.
    while (WaitForSingleObject(m_blockSemaphore, 0) == WAIT_OBJECT_0) {}
    ReleaseSemaphore(m_blockSemaphore, BLOCK_COUNT, nullptr);
    return true;
}

void CAudioPlayer::FreeWaveBuffers()
{
    for (int i = 0; i < BLOCK_COUNT; ++i) {
        WAVEHDR& h = m_headers[i];
        if (!h.lpData)
            continue;
        if (h.dwFlags & WHDR_PREPARED)
            m_api->OutUnprepareHeader(m_wave, &h);
        LocalFree(h.lpData);
        memset(&h, 0, sizeof(h));
    }
}

void CALLBACK CAudioPlayer::WaveOutProc(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR,
                                        DWORD_PTR)
{
    if (message != WOM_DONE || !instance)
        return;
    CAudioPlayer* self = reinterpret_cast<CAudioPlayer*>(instance);
    if (self->m_running)
        ReleaseSemaphore(self->m_blockSemaphore, 1, nullptr);
}

uint32_t CAudioPlayer::Run()
{
    HANDLE events[2] = {m_stopEvent, m_blockSemaphore};
    for (;;) {
        DWORD wait = WaitForMultipleObjects(2, events, FALSE, INFINITE);
        if (wait != WAIT_OBJECT_0 + 1)
            break;
        WAVEHDR& h = m_headers[m_nextHeader];
        uint8_t* block = reinterpret_cast<uint8_t*>(h.lpData);
        int got = m_read ? m_read(m_readOwner, this, block, m_blockBytes) : 0;
        // What the mix did not fill is silence, never the block played
        // five rounds ago.
        if (got < 0)
            got = 0;
        if (got < m_blockBytes)
            memset(block + got, 0, m_blockBytes - got);
        {
            CScopedLock lock(&m_tapLock);
            if (m_tap)
                m_tap(m_tapContext, this, block, m_blockBytes);
        }
        h.dwFlags &= ~WHDR_DONE;
        m_api->OutWrite(m_wave, &h);
        m_nextHeader = (m_nextHeader + 1) % BLOCK_COUNT;
    }
    return 0;
}

void CAudioPlayer::Stop()
{
    InterlockedExchange(&m_running, 0);
    SetEvent(m_stopEvent);
    CNamedThread::Stop();
    if (m_wave) {
        m_api->OutReset(m_wave);
        FreeWaveBuffers();
        m_api->OutClose(m_wave);
        m_wave = nullptr;
    }
}

} // namespace RavoTDevice
