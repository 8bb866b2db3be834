#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "CAudioBlock.h"
#include "CAudioManagerBase.h"
#include "IWaveApi.h"
#include "RateConverter.h"

namespace SonvexDevice {

// Plays through waveOut at 48000 Hz. Each buffer that comes back is turned
// into a block of the manager's rate (the samples just played), handed to
// the read callback, which puts the next block to play in its place, and
// written again.
class CAudioPlayer
{
public:
    enum { BUFFERS = 5, BUFFER_BYTES = 1920, DEVICE_RATE = 48000, STOP_WAIT_MS = 1000 };

    explicit CAudioPlayer(AudioCommon::IWaveApi& wave = AudioCommon::IWaveApi::System());
    virtual ~CAudioPlayer();

    CAudioPlayer(const CAudioPlayer&) = delete;
    CAudioPlayer& operator=(const CAudioPlayer&) = delete;

    int Start(UINT device, const tWAVEFORMATEX* format, int blockSize);
    void Stop();
    void SetReadCallback(DEVICE_BLOCK_CALLBACK callback, void* context);
    void GetFormat(tWAVEFORMATEX* out) const;

    LONG QueuedBuffers() const { return m_queued; }
    bool IsOpen() const { return m_handle != nullptr; }

private:
    static void CALLBACK WaveOutProc(HWAVEOUT handle, UINT message, DWORD_PTR instance,
                                     DWORD_PTR param1, DWORD_PTR param2);
    void OnDone(WAVEHDR* header);
    bool CreateWaveBuffers();
    void FreeWaveBuffers();
    void Finished();

    AudioCommon::IWaveApi& m_wave;
    HANDLE m_stopEvent;
    volatile LONG m_stopping = 0;
    volatile LONG m_queued = 0;
    HWAVEOUT m_handle = nullptr;
    UINT m_deviceId = 0;
    WAVEHDR m_headers[BUFFERS];
    HANDLE m_spareEvent;
    DEVICE_BLOCK_CALLBACK m_callback = nullptr;
    void* m_context = nullptr;
    int m_bufferSize = BUFFER_BYTES;
    tWAVEFORMATEX m_requested;
    tWAVEFORMATEX m_device;
    RateConverter* m_toDevice = nullptr;
    RateConverter* m_fromDevice = nullptr;
    CAudioBlock* m_block = nullptr;
    uint32_t m_sequence = 0;
    // Held by the callback while it handles a buffer, and by a stop while it
    // raises the stopping flag: no buffer is written again once a stop began.
    CRITICAL_SECTION m_callbackLock;
};

} // namespace SonvexDevice
