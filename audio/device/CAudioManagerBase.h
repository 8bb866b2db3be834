#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

#include "AecProcessor.h"
#include "CAudioBlock.h"
#include "CNamedThread.h"
#include "IMixerApi.h"
#include "SonvexCallbacks.h"

namespace SonvexDevice {

typedef WAVEFORMATEX tWAVEFORMATEX;
static_assert(sizeof(tWAVEFORMATEX) == 18, "the device format is the packed 18-byte record");

// How a device object hands a block to its manager: the manager may swap the
// block for another of the same size. Returns the block length (capture) or
// the play callback's result (play), 0 when refused.
typedef int (*DEVICE_BLOCK_CALLBACK)(void* context, CAudioBlock** block);

// The device manager behind the exports: owns the echo-cancelling front end
// and routes every captured and every played block through it. The wave and
// DirectSound managers derive from it.
class CAudioManagerBase : public CNamedThread
{
public:
    enum { BLOCK_BYTES = 640 };

    CAudioManagerBase(int rate, IMixerApi& mixer);
    ~CAudioManagerBase() override;

    uint32_t Run() override { return 0; }

    virtual int GetCapDevicesCount() = 0;
    virtual int GetCapDeviceName(int index, char* buffer, int size) = 0;
    virtual int GetPlayDevicesCount() = 0;
    virtual int GetPlayDeviceName(int index, char* buffer, int size) = 0;
    virtual int StartCapture(int device, SONVEX_CAPTURE_CALLBACK callback, void* context);
    virtual void StopCapture();
    // The wave device whose mixer holds the microphone of a capture device.
    virtual int MixerDevice(int captureDevice) const { return captureDevice; }
    virtual int StartPlay(int device, SONVEX_PLAY_CALLBACK callback, void* context) = 0;
    virtual void StopPlay() = 0;
    virtual void SetPlayCallback(void* context, SONVEX_PLAY_CALLBACK callback) = 0;
    virtual void GetPlayFormat(tWAVEFORMATEX* out) = 0;
    virtual void SetAEC(int mode);
    virtual void HandleCapAudioData(CAudioBlock** block);
    virtual int ReadData(CAudioBlock** block);

    static int AudioCapCallBack(void* context, CAudioBlock** block);
    static int AudioReadCallBack(void* context, CAudioBlock** block);

    // Block size in bytes for the rate given at construction; 0 for a rate
    // the table does not hold.
    int BlockSize() const { return m_blockSize; }
    const tWAVEFORMATEX& PlayFormat() const { return m_format[0]; }
    const tWAVEFORMATEX& CaptureFormat() const { return m_format[1]; }

    AecProcessor g_audProc;

protected:
    // Audio flows only when the rate gives the 640-byte blocks the echo
    // canceller and the callers work in; a start at another rate fails.
    bool CanStream(const char* who) const;
    // Copies a device name of at most limit characters, with its terminator,
    // when it fits the caller's buffer of size bytes; its length, else 0.
    static int CopyDeviceName(const char* name, size_t limit, char* buffer, int size);

    SONVEX_CAPTURE_CALLBACK m_captureCallback = nullptr;
    void* m_captureContext = nullptr;
    SONVEX_PLAY_CALLBACK m_playCallback = nullptr;
    void* m_playContext = nullptr;
    tWAVEFORMATEX m_format[2]; // play, then capture
    int m_blockSize = 0;
    CRITICAL_SECTION m_lock;
};

} // namespace SonvexDevice
