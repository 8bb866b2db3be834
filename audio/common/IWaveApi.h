#pragma once
#include <windows.h>
#include <mmsystem.h>

namespace AudioCommon {

// The waveIn/waveOut functions the wave devices call, behind one seam so
// that a test can stand in for the sound card and hand blocks back when it
// chooses. Callbacks are CALLBACK_FUNCTION procedures, called with the
// handle, message, instance and header.
class IWaveApi
{
public:
    virtual ~IWaveApi() = default;

    virtual UINT InGetNumDevs() = 0;
    virtual MMRESULT InGetDevCaps(UINT device, WAVEINCAPSA* caps) = 0;
    virtual MMRESULT InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format,
                            DWORD_PTR callback, DWORD_PTR instance, DWORD flags) = 0;
    virtual MMRESULT InPrepareHeader(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT InUnprepareHeader(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT InAddBuffer(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT InStart(HWAVEIN handle) = 0;
    virtual MMRESULT InReset(HWAVEIN handle) = 0;
    virtual MMRESULT InClose(HWAVEIN handle) = 0;

    virtual UINT OutGetNumDevs() = 0;
    virtual MMRESULT OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps) = 0;
    virtual MMRESULT OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format,
                             DWORD_PTR callback, DWORD_PTR instance, DWORD flags) = 0;
    virtual MMRESULT OutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT OutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT OutWrite(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT OutReset(HWAVEOUT handle) = 0;
    virtual MMRESULT OutClose(HWAVEOUT handle) = 0;

    virtual DWORD Now() = 0; // milliseconds, as timeGetTime

    // The system's own functions (CWinWaveApi).
    static IWaveApi& System();
};

} // namespace AudioCommon
