#include "WinWaveApi.h"

namespace SonvexDevice {

IWaveApi& IWaveApi::System()
{
    static WinWaveApi api;
    return api;
}

UINT WinWaveApi::InGetNumDevs() { return waveInGetNumDevs(); }
MMRESULT WinWaveApi::InGetDevCaps(UINT device, WAVEINCAPSA* caps)
{
    return waveInGetDevCapsA(device, caps, sizeof(*caps));
}
MMRESULT WinWaveApi::InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format,
                            DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    return waveInOpen(handle, device, format, callback, instance, flags);
}
MMRESULT WinWaveApi::InPrepareHeader(HWAVEIN handle, WAVEHDR* header)
{
    return waveInPrepareHeader(handle, header, sizeof(*header));
}
MMRESULT WinWaveApi::InUnprepareHeader(HWAVEIN handle, WAVEHDR* header)
{
    return waveInUnprepareHeader(handle, header, sizeof(*header));
}
MMRESULT WinWaveApi::InAddBuffer(HWAVEIN handle, WAVEHDR* header)
{
    return waveInAddBuffer(handle, header, sizeof(*header));
}
MMRESULT WinWaveApi::InStart(HWAVEIN handle) { return waveInStart(handle); }
MMRESULT WinWaveApi::InReset(HWAVEIN handle) { return waveInReset(handle); }
MMRESULT WinWaveApi::InClose(HWAVEIN handle) { return waveInClose(handle); }

UINT WinWaveApi::OutGetNumDevs() { return waveOutGetNumDevs(); }
MMRESULT WinWaveApi::OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps)
{
    return waveOutGetDevCapsA(device, caps, sizeof(*caps));
}
MMRESULT WinWaveApi::OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format,
                             DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    return waveOutOpen(handle, device, format, callback, instance, flags);
}
MMRESULT WinWaveApi::OutPrepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutPrepareHeader(handle, header, sizeof(*header));
}
MMRESULT WinWaveApi::OutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutUnprepareHeader(handle, header, sizeof(*header));
}
MMRESULT WinWaveApi::OutWrite(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutWrite(handle, header, sizeof(*header));
}
MMRESULT WinWaveApi::OutReset(HWAVEOUT handle) { return waveOutReset(handle); }
MMRESULT WinWaveApi::OutClose(HWAVEOUT handle) { return waveOutClose(handle); }
DWORD WinWaveApi::Now() { return timeGetTime(); }

} // namespace SonvexDevice
