#pragma once
#include "AudioCallbacks.h"
#include "CNamedThread.h"
#include "IDuplexSoundDevice.h"

namespace RavoTDevice {

// The capture thread of the full-duplex path: reads one block at every
// capture notification and hands it to the owner's callback.
class TSoundCapture : public CNamedThread
{
public:
    explicit TSoundCapture(IDuplexSoundDevice* device);
    ~TSoundCapture() override;

    void SetCallback(void* owner, AudioDataCallBack callback);
    int DsOpen(const WAVEFORMATEX* format, int blockBytes);
    void Stop() override;
    uint32_t Run() override;

private:
    IDuplexSoundDevice* m_device;
    HANDLE m_stopEvent;
    AudioDataCallBack m_callback = nullptr;
    void* m_owner = nullptr;
    uint8_t* m_block = nullptr;
    int m_blockBytes = 0;
    int m_open = 0;
};

} // namespace RavoTDevice
