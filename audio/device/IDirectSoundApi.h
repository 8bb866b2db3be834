#pragma once
#include <windows.h>
#include <mmsystem.h>
#include <dsound.h>

namespace SonvexDevice {

// The DirectSound calls the DirectSound devices use, behind one seam so that
// a test can stand in for the sound card. A buffer's notification events are
// those handed to SetNotificationPositions.
class IDsCaptureBuffer
{
public:
    virtual ~IDsCaptureBuffer() = default;
    virtual HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) = 0;
    virtual HRESULT Start(DWORD flags) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetCurrentPosition(DWORD* capture, DWORD* read) = 0;
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                         DWORD* bytes2) = 0;
    virtual HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) = 0;
};

class IDsPlayBuffer
{
public:
    virtual ~IDsPlayBuffer() = default;
    virtual HRESULT SetNotificationPositions(DWORD count, const DSBPOSITIONNOTIFY* positions) = 0;
    virtual HRESULT SetCurrentPosition(DWORD position) = 0;
    virtual HRESULT Play(DWORD flags) = 0;
    virtual HRESULT Stop() = 0;
    virtual HRESULT GetCurrentPosition(DWORD* play, DWORD* write) = 0;
    virtual HRESULT Lock(DWORD offset, DWORD bytes, void** part1, DWORD* bytes1, void** part2,
                         DWORD* bytes2) = 0;
    virtual HRESULT Unlock(void* part1, DWORD bytes1, void* part2, DWORD bytes2) = 0;
};

class IDirectSoundApi
{
public:
    virtual ~IDirectSoundApi() = default;
    virtual HRESULT EnumerateCapture(LPDSENUMCALLBACKA callback, void* context) = 0;
    virtual HRESULT EnumeratePlay(LPDSENUMCALLBACKA callback, void* context) = 0;
    // Capture device and a looping capture buffer of the given size on it.
    virtual HRESULT OpenCapture(const GUID* device, const WAVEFORMATEX* format, DWORD bufferBytes,
                                IDsCaptureBuffer** buffer) = 0;
    // Play device at priority level for the window, and a secondary buffer
    // with the given capabilities, zeroed.
    virtual HRESULT OpenPlay(const GUID* device, HWND window, const WAVEFORMATEX* format,
                             DWORD bufferBytes, DWORD flags, IDsPlayBuffer** buffer) = 0;

    static IDirectSoundApi& System();
};

} // namespace SonvexDevice
