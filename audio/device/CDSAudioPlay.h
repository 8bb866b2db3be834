#pragma once
#include <windows.h>

#include "CAudioBlock.h"
#include "CAudioManagerBase.h"
#include "CNamedThread.h"
#include "IDirectSoundApi.h"

namespace SonvexDevice {

// Plays through a looping DirectSound buffer of 30 blocks. On each position
// notification its thread reads back the block just played, hands it to the
// read callback (which puts the next block in its place) and writes that
// block two blocks ahead of the write cursor.
class CDSAudioPlay : public CNamedThread
{
public:
    enum { BLOCKS = 30 };
    static const DWORD BUFFER_FLAGS = DSBCAPS_GETCURRENTPOSITION2 | DSBCAPS_GLOBALFOCUS |
                                      DSBCAPS_CTRLPOSITIONNOTIFY | DSBCAPS_CTRLVOLUME |
                                      DSBCAPS_CTRLFREQUENCY;

    explicit CDSAudioPlay(IDirectSoundApi& api = IDirectSoundApi::System());
    ~CDSAudioPlay() override;

    int OpenDevice(HWND window, const tWAVEFORMATEX* format, const GUID* device);
    int StartDevice();
    void StopDevice();
    void ReleaseDevice();
    void SetReadCallback(DEVICE_BLOCK_CALLBACK callback, void* context);
    int WriteAudioData(const void* data, DWORD length);
    DWORD BlockBytes() const { return m_blockBytes; }
    bool IsOpen() const { return m_buffer != nullptr; }

    uint32_t Run() override;

private:
    bool ReadPlayedAudioData(void* destination, DWORD length);

    IDirectSoundApi& m_api;
    IDsPlayBuffer* m_buffer = nullptr;
    DSBPOSITIONNOTIFY m_positions[BLOCKS];
    HRESULT m_lastResult = S_OK;
    tWAVEFORMATEX m_format;
    HANDLE m_notifyEvent;
    HANDLE m_stopEvent;
    DWORD m_blockBytes = 480;
    DWORD m_bufferBytes = 0;
    DEVICE_BLOCK_CALLBACK m_callback = nullptr;
    void* m_context = nullptr;
    DWORD m_writePosition = 0;
    DWORD m_readOffset = 0;
    CRITICAL_SECTION m_lock;
    CAudioBlock* m_block = nullptr;
    uint32_t m_sequence = 0;
    bool m_comInitialised = false;
};

} // namespace SonvexDevice
