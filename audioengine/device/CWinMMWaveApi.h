#pragma once
#include "IWaveApi.h"

namespace RavoTDevice {

// The system's waveIn/waveOut functions.
class CWinMMWaveApi : public IWaveApi
{
public:
    // The one instance the library's managers use.
    static IWaveApi* Instance();

    UINT InGetNumDevs() override;
    MMRESULT InGetDevCaps(UINT id, WAVEINCAPSA* caps) override;
    MMRESULT InOpen(HWAVEIN* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                    DWORD_PTR instance, DWORD flags) override;
    MMRESULT InPrepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InUnprepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InAddBuffer(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InStart(HWAVEIN handle) override;
    MMRESULT InReset(HWAVEIN handle) override;
    MMRESULT InClose(HWAVEIN handle) override;

    UINT OutGetNumDevs() override;
    MMRESULT OutGetDevCaps(UINT id, WAVEOUTCAPSA* caps) override;
    MMRESULT OutOpen(HWAVEOUT* handle, UINT id, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) override;
    MMRESULT OutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutWrite(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutReset(HWAVEOUT handle) override;
    MMRESULT OutClose(HWAVEOUT handle) override;
};

} // namespace RavoTDevice
