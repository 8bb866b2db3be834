#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

namespace RavoTDevice {

// A full-duplex device of two looping buffers cut into blocks, each buffer
// signalling an event as every block passes. TCaptureEffect is the
// DirectSound one; tests use a fake.
class IDuplexSoundDevice
{
public:
    virtual ~IDuplexSoundDevice() = default;

    virtual void SetCaptureFormat(const WAVEFORMATEX* format) = 0;
    virtual void SetPlayFormat(const WAVEFORMATEX* format) = 0;
    virtual void SetCaptureBlocks(int bytes, int count) = 0;
    virtual void SetPlayBlocks(int bytes, int count) = 0;
    virtual int Init(int withEffects, HWND window, const GUID* render, const GUID* capture) = 0;
    virtual int OpenIn() = 0;
    virtual void CloseIn() = 0;
    virtual int OpenOut() = 0;
    virtual void CloseOut() = 0;
    virtual int ReadBlock(uint8_t* buffer, int size) = 0;
    virtual int WriteBlock(const uint8_t* buffer, int size) = 0;
    virtual int SetParameter(int enable) = 0;
    virtual void Close() = 0;
    virtual HANDLE CaptureEvent() const = 0;
    virtual HANDLE PlayEvent() const = 0;
    // True when the platform's echo cancelling runs on the capture buffer.
    virtual bool HasEchoEffect() const = 0;
};

// Makes the device of a DirectSound manager; context is the factory's own.
typedef IDuplexSoundDevice* (*DuplexDeviceFactory)(void* context);

} // namespace RavoTDevice
