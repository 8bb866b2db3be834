#pragma once
#include <windows.h>
#include <mmsystem.h>

#include "CAudioCapture.h"
#include "CNamedThread.h"
#include "IWaveApi.h"

namespace RavoTDevice {

// Plays blocks on a waveOut device. A semaphore counts the free headers: the
// driver's callback releases it for every played block and the thread fills
// the next header from the read callback and writes it.
class CAudioPlayer : public CNamedThread
{
public:
    enum { BLOCK_COUNT = 5 };

    explicit CAudioPlayer(AudioCommon::IWaveApi* api);
    ~CAudioPlayer() override;

    void SetReadCallback(AudioDataCallBack callback, void* owner);
    void SetPlayTap(void* context, AudioDataCallBack tap);
    int Start(int deviceId, const WAVEFORMATEX* format, int blockBytes);
    void Stop() override;
    void GetFormat(WAVEFORMATEX* out) const;

    uint32_t Run() override;

private:
    static void CALLBACK WaveOutProc(HWAVEOUT handle, UINT message, DWORD_PTR instance,
                                     DWORD_PTR param1, DWORD_PTR param2);
    bool CreateWaveBuffers();
    void FreeWaveBuffers();

    AudioCommon::IWaveApi* m_api;
    HWAVEOUT m_wave = nullptr;
    int m_deviceId = 0;
    WAVEHDR m_headers[BLOCK_COUNT];
    int m_nextHeader = 0;
    volatile LONG m_running = 0;
    HANDLE m_stopEvent;
    HANDLE m_blockSemaphore;
    void* m_tapContext = nullptr;
    AudioDataCallBack m_tap = nullptr;
    void* m_readOwner = nullptr;
    AudioDataCallBack m_read = nullptr;
    WAVEFORMATEX m_format;
    int m_blockBytes = 0;
    CRITICAL_SECTION m_tapLock;
};

} // namespace RavoTDevice
