#pragma once
#include "IWaveApi.h"

namespace AudioCommon {

// IWaveApi on the system's multimedia library.
class CWinWaveApi : public IWaveApi
{
public:
    UINT InGetNumDevs() override;
    MMRESULT InGetDevCaps(UINT device, WAVEINCAPSA* caps) override;
    MMRESULT InOpen(HWAVEIN* handle, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
                    DWORD_PTR instance, DWORD flags) override;
    MMRESULT InPrepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InUnprepareHeader(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InAddBuffer(HWAVEIN handle, WAVEHDR* header) override;
    MMRESULT InStart(HWAVEIN handle) override;
    MMRESULT InReset(HWAVEIN handle) override;
    MMRESULT InClose(HWAVEIN handle) override;

    UINT OutGetNumDevs() override;
    MMRESULT OutGetDevCaps(UINT device, WAVEOUTCAPSA* caps) override;
    MMRESULT OutOpen(HWAVEOUT* handle, UINT device, const WAVEFORMATEX* format, DWORD_PTR callback,
                     DWORD_PTR instance, DWORD flags) override;
    MMRESULT OutPrepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutUnprepareHeader(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutWrite(HWAVEOUT handle, WAVEHDR* header) override;
    MMRESULT OutReset(HWAVEOUT handle) override;
    MMRESULT OutClose(HWAVEOUT handle) override;

    DWORD Now() override;
};

} // namespace AudioCommon
