#include "CAudioPlayer.h"

#include <cstring>

#include "CScopedLock.h"
#include "SonvexLog.h"

namespace SonvexDevice {

CAudioPlayer::CAudioPlayer(AudioCommon::IWaveApi& wave) : m_wave(wave)
{
    m_stopEvent = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    m_spareEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
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

CAudioPlayer::~CAudioPlayer()
{
    Stop();
    CloseHandle(m_stopEvent);
    CloseHandle(m_spareEvent);
    DeleteCriticalSection(&m_callbackLock);
}

void CAudioPlayer::SetReadCallback(DEVICE_BLOCK_CALLBACK callback, void* context)
{
    m_context = context;
    m_callback = callback;
}

void CAudioPlayer::GetFormat(tWAVEFORMATEX* out) const
{
    if (out)
        *out = m_requested;
}

int CAudioPlayer::Start(UINT device, const tWAVEFORMATEX* format, int blockSize)
{
    if (!format || blockSize <= 0)
        return 0;
    m_deviceId = device;
    m_requested = *format;
    delete m_block;
    m_block = new CAudioBlock(static_cast<uint32_t>(blockSize));
    m_sequence = 0;
    delete m_toDevice;
    delete m_fromDevice;
    m_toDevice = m_fromDevice = nullptr;
    if (m_requested.nSamplesPerSec != DEVICE_RATE) {
        m_toDevice =
            new RateConverter(static_cast<double>(DEVICE_RATE) / m_requested.nSamplesPerSec);
        m_fromDevice =
            new RateConverter(static_cast<double>(m_requested.nSamplesPerSec) / DEVICE_RATE);
    }
    m_stopping = 0;
    MMRESULT result = m_wave.OutOpen(&m_handle, device, &m_device,
                                     reinterpret_cast<DWORD_PTR>(&CAudioPlayer::WaveOutProc),
                                     reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (result != MMSYSERR_NOERROR) {
        m_handle = nullptr;
        SonvexLog(1, "<CAudioPlayer::Start>,waveOutOpen failed,DeviceID = %d,BlockSize = %d\n",
                  (int)device, blockSize);
        return 0;
    }
    ResetEvent(m_stopEvent);
    if (!CreateWaveBuffers()) {
        Stop();
        SonvexLog(1, "<CAudioPlayer::Start>,CreateWaveBuffer failed,DeviceID = %d,BlockSize = %d\n",
                  (int)device, blockSize);
        return 0;
    }
    return 1;
}

bool CAudioPlayer::CreateWaveBuffers()
{
    if (!m_handle) {
        SonvexLog(1, "<CAudioPlayer::CreateWaveBuffer>,m_hWave is NULL\n");
        return false;
    }
    for (int i = 0; i < BUFFERS; ++i) {
        WAVEHDR& h = m_headers[i];
        memset(&h, 0, sizeof(h));
        h.lpData = static_cast<LPSTR>(LocalAlloc(LMEM_FIXED, m_bufferSize));
        if (!h.lpData) {
            SonvexLog(1,
                      "<CAudioPlayer::CreateWaveBuffer>,Alloc Audio Buffer failed,BlockSize = %d\n",
                      m_bufferSize);
            return false;
        }
        h.dwBufferLength = m_bufferSize;
        if (m_wave.OutPrepareHeader(m_handle, &h) != MMSYSERR_NOERROR)
            return false;
        memset(h.lpData, 0, m_bufferSize);
        InterlockedIncrement(&m_queued);
        if (m_wave.OutWrite(m_handle, &h) != MMSYSERR_NOERROR) {
            InterlockedDecrement(&m_queued);
            return false;
        }
    }
    return true;
}

void CAudioPlayer::FreeWaveBuffers()
{
    for (int i = 0; i < BUFFERS; ++i) {
        WAVEHDR& h = m_headers[i];
        if (!h.lpData)
            continue;
        if (h.dwFlags & WHDR_PREPARED)
            m_wave.OutUnprepareHeader(m_handle, &h);
        LocalFree(h.lpData);
        memset(&h, 0, sizeof(h));
    }
}

void CAudioPlayer::Stop()
{
    SonvexLog(1, "start CAudioPlayer::Stop\n");
    EnterCriticalSection(&m_callbackLock);
    InterlockedExchange(&m_stopping, 1);
    LeaveCriticalSection(&m_callbackLock);
    if (m_handle) {
        // The reset hands every queued buffer back at once; the wait is
        // bounded so that a device that never gives its buffers back cannot
        // hang a stop.
        m_wave.OutReset(m_handle);
        if (m_queued > 0 && WaitForSingleObject(m_stopEvent, STOP_WAIT_MS) != WAIT_OBJECT_0) {
            // The device still holds buffers: they stay allocated rather
            // than be read after they were freed.
            SonvexLog(1, "<CAudioPlayer::Stop>,%d buffers did not come back\n", (int)m_queued);
            memset(m_headers, 0, sizeof(m_headers));
        }
        SonvexLog(1, "Wait m_evWaitStop End\n");
        FreeWaveBuffers();
        m_wave.OutClose(m_handle);
        m_handle = nullptr;
        m_queued = 0;
        SetEvent(m_stopEvent);
    }
    delete m_block;
    m_block = nullptr;
    delete m_toDevice;
    delete m_fromDevice;
    m_toDevice = m_fromDevice = nullptr;
    SonvexLog(1, "End CAudioPlayer::Stop\n");
}

void CALLBACK CAudioPlayer::WaveOutProc(HWAVEOUT, UINT message, DWORD_PTR instance,
                                        DWORD_PTR param1, DWORD_PTR)
{
    if (message != WOM_DONE || !instance)
        return;
    reinterpret_cast<CAudioPlayer*>(instance)->OnDone(reinterpret_cast<WAVEHDR*>(param1));
}

void CAudioPlayer::Finished()
{
    LONG left = InterlockedDecrement(&m_queued);
    if (left <= 0 && m_stopping)
        SetEvent(m_stopEvent);
}

void CAudioPlayer::OnDone(WAVEHDR* header)
{
    if (!header)
        return;
    CScopedLock lock(&m_callbackLock);
    if (m_stopping) {
        LONG left = InterlockedDecrement(&m_queued);
        SonvexLog(1, "manager->m_nPlayBlockCount = %d \n", (int)left);
        if (left <= 0)
            SetEvent(m_stopEvent);
        return;
    }
    int16_t* device = reinterpret_cast<int16_t*>(header->lpData);
    const int deviceSamples = m_bufferSize / 2;
    if (m_callback && m_block) {
        const int want = static_cast<int>(m_block->m_length / 2);
        bool ok;
        if (m_fromDevice)
            ok = m_fromDevice->Convert(device, deviceSamples, m_block->Samples(), want) == want;
        else if ((ok = want == deviceSamples))
            memcpy(m_block->m_data, device, m_bufferSize);
        if (!ok) {
            Finished();
            return;
        }
        m_block->Stamp(CAudioBlock::KIND_FAR, m_sequence++, m_wave.Now());
        m_callback(m_context, &m_block);
        if (m_toDevice)
            ok = m_toDevice->Convert(m_block->Samples(), want, device, deviceSamples) ==
                 deviceSamples;
        else
            memcpy(device, m_block->m_data, m_bufferSize);
        if (!ok) {
            Finished();
            return;
        }
    } else {
        memset(device, 0, m_bufferSize);
    }
    if (m_wave.OutWrite(m_handle, header) != MMSYSERR_NOERROR)
        Finished();
}

} // namespace SonvexDevice
