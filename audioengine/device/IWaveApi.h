#pragma once
#include <windows.h>
#include <mmsystem.h>

namespace RavoTDevice {

// The waveIn/waveOut calls the wave path makes, behind one interface so that
// a test can stand in for the driver and hand back blocks when it chooses.
// The real implementation is CWinMMWaveApi.
class IWaveApi
{
public:
    virtual ~IWaveApi() = default;

    virtual UINT InGetNumDevs() = 0;
    virtual MMRESULT InGetDevCaps(UINT id, WAVEINCAPSA* caps) = 0;
    virtual MMRESULT InOpen(HWAVEIN* handle, UINT id, const WAVEFORMATEX* format,
                            DWORD_PTR callback, DWORD_PTR instance, DWORD flags) = 0;
    virtual MMRESULT InPrepareHeader(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT InUnprepareHeader(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT InAddBuffer(HWAVEIN handle, WAVEHDR* header) = 0;
    virtual MMRESULT InStart(HWAVEIN handle) = 0;
    virtual MMRESULT InReset(HWAVEIN handle) = 0;
    virtual MMRESULT InClose(HWAVEIN handle) = 0;

    virtual UINT OutGetNumDevs() = 0;
    virtual MMRESULT OutGetDevCaps(UINT id, WAVEOUTCAPSA* caps) = 0;
    virtual MMRESULT OutOpen(HWAVEOUT* handle, UINT id, const WAVEFORMATEX* format,
                             DWORD_PTR callback, DWORD_PTR instance, DWORD flags) = 0;
    virtual MMRESULT OutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT OutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT OutWrite(HWAVEOUT handle, WAVEHDR* header) = 0;
    virtual MMRESULT OutReset(HWAVEOUT handle) = 0;
    virtual MMRESULT OutClose(HWAVEOUT handle) = 0;
};

} // namespace RavoTDevice
