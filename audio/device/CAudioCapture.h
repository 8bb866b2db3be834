#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "CAudioBlock.h"
#include "CAudioManagerBase.h"
#include "IWaveApi.h"
#include "RateConverter.h"

namespace SonvexDevice {

// Records through waveIn at 48000 Hz and hands blocks of the manager's rate
// and size to its callback, from the multimedia library's callback thread.
class CAudioCapture
{
public:
    enum { BUFFERS = 5, BUFFER_BYTES = 1920, DEVICE_RATE = 48000, STOP_WAIT_MS = 1000 };

    explicit CAudioCapture(AudioCommon::IWaveApi& wave = AudioCommon::IWaveApi::System());
    virtual ~CAudioCapture();

    CAudioCapture(const CAudioCapture&) = delete;
    CAudioCapture& operator=(const CAudioCapture&) = delete;

    int StartCapture(UINT device, const tWAVEFORMATEX* format, int blockSize);
    void Stop();
    void SetCallback(void* context, DEVICE_BLOCK_CALLBACK callback);

    LONG QueuedBuffers() const { return m_queued; }
    bool IsOpen() const { return m_handle != nullptr; }

private:
    static void CALLBACK WaveInProc(HWAVEIN handle, UINT message, DWORD_PTR instance,
                                    DWORD_PTR param1, DWORD_PTR param2);
    void OnData(WAVEHDR* header);
    bool PrepareHeaders();
    void UnprepareHeaders();
    void CloseDevice();

    AudioCommon::IWaveApi& m_wave;
    HANDLE m_stopEvent;
    volatile LONG m_stopping = 0;
    volatile LONG m_queued = 0;
    HWAVEIN m_handle = nullptr;
    WAVEHDR m_headers[BUFFERS];
    int m_buffers = BUFFERS;
    int m_bufferSize = BUFFER_BYTES;
    uint32_t m_sequence = 0;
    DEVICE_BLOCK_CALLBACK m_callback = nullptr;
    void* m_context = nullptr;
    tWAVEFORMATEX m_requested;
    tWAVEFORMATEX m_device;
    RateConverter* m_converter = nullptr;
    CAudioBlock* m_block = nullptr;
    // Held by the callback while it handles a buffer, and by a stop while it
    // raises the stopping flag: no buffer is queued again once a stop began.
    CRITICAL_SECTION m_callbackLock;
};

} // namespace SonvexDevice
