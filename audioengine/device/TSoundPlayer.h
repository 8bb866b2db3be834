#pragma once
#include "AudioCallbacks.h"
#include "CNamedThread.h"
#include "IDuplexSoundDevice.h"

namespace RavoTDevice {

// The play thread of the full-duplex path: at every play notification it
// fills one block from the read callback and writes it ahead of the cursor.
class TSoundPlayer : public CNamedThread
{
public:
    explicit TSoundPlayer(IDuplexSoundDevice* device);
    ~TSoundPlayer() override;

    void SetReadCallback(AudioDataCallBack callback, void* owner);
    void SetPlayTap(void* context, AudioDataCallBack tap);
    void GetFormat(WAVEFORMATEX* out) const;
    int DsOpen(const WAVEFORMATEX* format, int blockBytes);
    void Stop() override;
    uint32_t Run() override;

private:
    IDuplexSoundDevice* m_device;
    HANDLE m_stopEvent;
    WAVEFORMATEX m_format;
    void* m_owner = nullptr;
    AudioDataCallBack m_callback = nullptr;
    void* m_tapContext = nullptr;
    AudioDataCallBack m_tap = nullptr;
    uint8_t* m_block = nullptr;
    int m_blockBytes = 0;
    int m_open = 0;
    CRITICAL_SECTION m_tapLock;
};

} // namespace RavoTDevice
