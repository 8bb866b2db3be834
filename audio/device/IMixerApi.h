#pragma once
#include <windows.h>
#include <mmsystem.h>

namespace SonvexDevice {

// The mixer functions the volume controls use, behind one seam. A stand-in
// mixer announces control changes as the real one does: by posting
// MM_MIXM_CONTROL_CHANGE to the window given at open.
class IMixerApi
{
public:
    virtual ~IMixerApi() = default;

    virtual UINT GetNumDevs() = 0;
    virtual MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                          DWORD flags) = 0;
    virtual MMRESULT Close(HMIXER mixer) = 0;
    virtual MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps) = 0;
    virtual MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags) = 0;
    virtual MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls,
                                     DWORD flags) = 0;
    virtual MMRESULT GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details,
                                       DWORD flags) = 0;
    virtual MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details,
                                       DWORD flags) = 0;

    static IMixerApi& System();
};

} // namespace SonvexDevice
