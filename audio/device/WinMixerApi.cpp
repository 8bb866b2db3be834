#include "WinMixerApi.h"

namespace SonvexDevice {

IMixerApi& IMixerApi::System()
{
    static WinMixerApi api;
    return api;
}

UINT WinMixerApi::GetNumDevs() { return mixerGetNumDevs(); }
MMRESULT WinMixerApi::Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                           DWORD flags)
{
    return mixerOpen(mixer, id, callback, instance, flags);
}
MMRESULT WinMixerApi::Close(HMIXER mixer) { return mixerClose(mixer); }
MMRESULT WinMixerApi::GetDevCaps(UINT_PTR id, MIXERCAPSA* caps)
{
    return mixerGetDevCapsA(id, caps, sizeof(*caps));
}
MMRESULT WinMixerApi::GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags)
{
    return mixerGetLineInfoA(mixer, line, flags);
}
MMRESULT WinMixerApi::GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags)
{
    return mixerGetLineControlsA(mixer, controls, flags);
}
MMRESULT WinMixerApi::GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    return mixerGetControlDetailsA(mixer, details, flags);
}
MMRESULT WinMixerApi::SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags)
{
    return mixerSetControlDetails(mixer, details, flags);
}

} // namespace SonvexDevice
