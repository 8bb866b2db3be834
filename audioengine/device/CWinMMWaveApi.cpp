#include "CWinMMWaveApi.h"

namespace RavoTDevice {

IWaveApi* CWinMMWaveApi::Instance()
{
    static CWinMMWaveApi api;
    return &api;
}

UINT CWinMMWaveApi::InGetNumDevs() { return waveInGetNumDevs(); }
MMRESULT CWinMMWaveApi::InGetDevCaps(UINT id, WAVEINCAPSA* caps)
{
    return waveInGetDevCapsA(id, caps, sizeof(*caps));
}
MMRESULT CWinMMWaveApi::InOpen(HWAVEIN* handle, UINT id, const WAVEFORMATEX* format,
                               DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    return waveInOpen(handle, id, const_cast<WAVEFORMATEX*>(format), callback, instance, flags);
}
MMRESULT CWinMMWaveApi::InPrepareHeader(HWAVEIN h, WAVEHDR* hdr) { return waveInPrepareHeader(h, hdr, sizeof(*hdr)); }
MMRESULT CWinMMWaveApi::InUnprepareHeader(HWAVEIN h, WAVEHDR* hdr) { return waveInUnprepareHeader(h, hdr, sizeof(*hdr)); }
MMRESULT CWinMMWaveApi::InAddBuffer(HWAVEIN h, WAVEHDR* hdr) { return waveInAddBuffer(h, hdr, sizeof(*hdr)); }
MMRESULT CWinMMWaveApi::InStart(HWAVEIN h) { return waveInStart(h); }
MMRESULT CWinMMWaveApi::InReset(HWAVEIN h) { return waveInReset(h); }
MMRESULT CWinMMWaveApi::InClose(HWAVEIN h) { return waveInClose(h); }

UINT CWinMMWaveApi::OutGetNumDevs() { return waveOutGetNumDevs(); }
MMRESULT CWinMMWaveApi::OutGetDevCaps(UINT id, WAVEOUTCAPSA* caps)
{
    return waveOutGetDevCapsA(id, caps, sizeof(*caps));
}
MMRESULT CWinMMWaveApi::OutOpen(HWAVEOUT* handle, UINT id, const WAVEFORMATEX* format,
                                DWORD_PTR callback, DWORD_PTR instance, DWORD flags)
{
    return waveOutOpen(handle, id, format, callback, instance, flags);
}
MMRESULT CWinMMWaveApi::OutPrepareHeader(HWAVEOUT h, WAVEHDR* hdr) { return waveOutPrepareHeader(h, hdr, sizeof(*hdr)); }
MMRESULT CWinMMWaveApi::OutUnprepareHeader(HWAVEOUT h, WAVEHDR* hdr) { return waveOutUnprepareHeader(h, hdr, sizeof(*hdr)); }
MMRESULT CWinMMWaveApi::OutWrite(HWAVEOUT h, WAVEHDR* hdr) { return waveOutWrite(h, hdr, sizeof(*hdr)); }
MMRESULT CWinMMWaveApi::OutReset(HWAVEOUT h) { return waveOutReset(h); }
MMRESULT CWinMMWaveApi::OutClose(HWAVEOUT h) { return waveOutClose(h); }

} // namespace RavoTDevice
