#pragma once
#include <windows.h>

#include "CAudioBlock.h"
#include "CAudioManagerBase.h"
#include "CNamedThread.h"
#include "IDirectSoundApi.h"

namespace SonvexDevice {

// Records through a looping DirectSound capture buffer of 30 blocks; its
// thread wakes on the position notifications and hands every whole block to
// the callback.
class CDSAudioCapture : public CNamedThread
{
public:
    enum { BLOCKS = 30, SCRATCH_BYTES = 4100 };

    explicit CDSAudioCapture(IDirectSoundApi& api = IDirectSoundApi::System());
    ~CDSAudioCapture() override;

    // device: null or the all-zero GUID for the default device.
    int OpenDevice(const GUID* device, const tWAVEFORMATEX* format, int blockLength);
    void StopDevice();
    void ReleaseDevice();
    void SetCallback(void* context, DEVICE_BLOCK_CALLBACK callback);
    bool IsRunning() const { return m_running != 0; }

    uint32_t Run() override;

private:
    bool StartBuffer();
    bool ReadBlock(void* destination, DWORD length);

    IDirectSoundApi& m_api;
    IDsCaptureBuffer* m_buffer = nullptr;
    GUID m_device;
    tWAVEFORMATEX m_format;
    DSBPOSITIONNOTIFY m_positions[BLOCKS];
    HANDLE m_stopEvent;
    HANDLE m_notifyEvent;
    DWORD m_bufferBytes = 0;
    DWORD m_blockBytes = 0;
    DWORD m_readOffset = 0;
    volatile LONG m_running = 0;
    DEVICE_BLOCK_CALLBACK m_callback = nullptr;
    void* m_context = nullptr;
    DWORD m_deliverLength = 0;
    char m_scratch[SCRATCH_BYTES];
    DWORD m_lastCapture = 0;
    CRITICAL_SECTION m_lock;
    CAudioBlock* m_block = nullptr;
    uint32_t m_sequence = 0;
    bool m_comInitialised = false;
};

} // namespace SonvexDevice
