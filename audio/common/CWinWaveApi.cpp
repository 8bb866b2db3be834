#include "CWinWaveApi.h"

namespace AudioCommon {

IWaveApi& IWaveApi::System()
{
    static CWinWaveApi api;
    return api;
}

UINT CWinWaveApi::InGetNumDevs() { return waveInGetNumDevs(); }
MMRESULT CWinWaveApi::InGetDevCaps(UINT device, WAVEINCAPSA* caps)
{
    return waveInGetDevCapsA(device, caps, sizeof(*caps));
}
MMRESULT CWinWaveApi::InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format,
                             DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    return waveInOpen(handle, device, format, callback, instance, flags);
}
MMRESULT CWinWaveApi::InPrepareHeader(HWAVEIN handle, WAVEHDR* header)
{
    return waveInPrepareHeader(handle, header, sizeof(*header));
}
MMRESULT CWinWaveApi::InUnprepareHeader(HWAVEIN handle, WAVEHDR* header)
{
    return waveInUnprepareHeader(handle, header, sizeof(*header));
}
MMRESULT CWinWaveApi::InAddBuffer(HWAVEIN handle, WAVEHDR* header)
{
    return waveInAddBuffer(handle, header, sizeof(*header));
}
MMRESULT CWinWaveApi::InStart(HWAVEIN handle) { return waveInStart(handle); }
MMRESULT CWinWaveApi::InReset(HWAVEIN handle) { return waveInReset(handle); }
MMRESULT CWinWaveApi::InClose(HWAVEIN handle) { return waveInClose(handle); }

UINT CWinWaveApi::OutGetNumDevs() { return waveOutGetNumDevs(); }
MMRESULT CWinWaveApi::OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps)
{
    return waveOutGetDevCapsA(device, caps, sizeof(*caps));
}
MMRESULT CWinWaveApi::OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format,
                              DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    return waveOutOpen(handle, device, format, callback, instance, flags);
}
MMRESULT CWinWaveApi::OutPrepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutPrepareHeader(handle, header, sizeof(*header));
}
MMRESULT CWinWaveApi::OutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutUnprepareHeader(handle, header, sizeof(*header));
}
MMRESULT CWinWaveApi::OutWrite(HWAVEOUT handle, WAVEHDR* header)
{
    return waveOutWrite(handle, header, sizeof(*header));
}
MMRESULT CWinWaveApi::OutReset(HWAVEOUT handle) { return waveOutReset(handle); }
MMRESULT CWinWaveApi::OutClose(HWAVEOUT handle) { return waveOutClose(handle); }

DWORD CWinWaveApi::Now() { return timeGetTime(); }

} // namespace AudioCommon
