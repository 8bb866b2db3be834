#pragma once
#include "IMixerApi.h"

namespace SonvexDevice {

// IMixerApi on the Windows multimedia library.
class WinMixerApi : public IMixerApi
{
public:
    UINT GetNumDevs() override;
    MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                  DWORD flags) override;
    MMRESULT Close(HMIXER mixer) override;
    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps) override;
    MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags) override;
    MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags) override;
    MMRESULT GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) override;
    MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) override;
};

} // namespace SonvexDevice
