#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "AudioCallbacks.h"
#include "CBufferPool.h"
#include "CNamedThread.h"
#include "IWaveApi.h"

namespace RavoTDevice {

class CCaptureCollector;

// Captures blocks from a waveIn device. The driver's callback only wakes the
// collector thread, which moves the recorded blocks in order into a small
// pool and gives the driver its buffers back; the capture thread hands each
// pooled block to the owner's callback.
class CAudioCapture : public CNamedThread
{
public:
    enum { BUFFER_COUNT = 3, POOL_COUNT = 5 };

    explicit CAudioCapture(AudioCommon::IWaveApi* api);
    ~CAudioCapture() override;

    void SetCallback(void* owner, AudioDataCallBack callback);
    int StartCapture(int deviceId, const WAVEFORMATEX* format, int blockBytes);
    void Stop() override;

    uint32_t Run() override;

    // Blocks dropped because the pool was full (a third of the queue each time).
    LONG GetDroppedBlocks() const { return m_dropped; }

    // The collector thread's loop: until the stop event, returned blocks
    // into the pool and headers back to the driver.
    void CollectLoop();

private:
    static void CALLBACK WaveInProc(HWAVEIN handle, UINT message, DWORD_PTR instance,
                                    DWORD_PTR param1, DWORD_PTR param2);
    bool PrepareHeaders();
    void UnPrepareHeaders();
    // Moves every block the driver has returned, in order, into the pool and
    // gives the header back to the driver.
    void Harvest();
    void Queue(const WAVEHDR& header);

    AudioCommon::IWaveApi* m_api;
    HWAVEIN m_wave = nullptr;
    WAVEHDR m_headers[BUFFER_COUNT];
    int m_nextHeader = 0;
    HANDLE m_stopEvent;
    HANDLE m_doneEvent;
    int m_buffers = 0;
    int m_bufferSize = 0;
    void* m_owner = nullptr;
    AudioDataCallBack m_callback = nullptr;
    CBufferPool* m_pool = nullptr;
    volatile LONG m_filled = 0;
    CCaptureCollector* m_collector = nullptr;
    volatile LONG m_dropped = 0;
};

} // namespace RavoTDevice
