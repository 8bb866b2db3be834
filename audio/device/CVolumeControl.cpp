#include "CVolumeControl.h"

namespace SonvexDevice {

CVolumeControl::CVolumeControl(IMixerApi& mixer) : m_in(mixer), m_out(mixer) {}

CVolumeControl::~CVolumeControl()
{
    m_in.Close();
    m_out.Close();
}

DWORD CVolumeControl::ComponentTypeFor(int choice)
{
    switch (choice) {
    case 0:
        return MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    case 1:
        return MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT;
    case 2:
        return MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER;
    case 3:
        return MIXERLINE_COMPONENTTYPE_SRC_TELEPHONE;
    case 4:
        return MIXERLINE_COMPONENTTYPE_SRC_ANALOG;
    case 5:
        return MIXERLINE_COMPONENTTYPE_SRC_DIGITAL;
    case 6:
        return MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    case 7:
        return MIXERLINE_COMPONENTTYPE_SRC_LINE;
    case 8:
        return MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC;
    default:
        return 0;
    }
}

int CVolumeControl::OpenCapture(int device)
{
    m_in.Close();
    m_captureDevice = device;
    if (!m_in.Open(static_cast<UINT>(device)))
        return 0;
    m_in.SetVolumeCallback(&IgnoreVolume, this);
    m_in.SetSourceCallback(&IgnoreSource, this);
    m_inValues.current = m_in.GetCurrentVolume();
    m_inValues.minimum = m_in.GetMinimalVolume();
    m_inValues.maximum = m_in.GetMaximalVolume();
    m_inValues.steps = m_in.GetVolumeSteps();
    m_inSource = m_in.GetCurrentSource();
    return 1;
}

int CVolumeControl::OpenSpeaker()
{
    DWORD type = ComponentTypeFor(m_outputLine);
    if (!type)
        return 0;
    m_out.Close();
    if (!m_out.Open(static_cast<UINT>(m_playDevice), type))
        return 0;
    m_out.SetVolumeCallback(&IgnoreVolume, this);
    m_out.SetMuteCallback(&IgnoreMute, this);
    m_outValues.current = m_out.GetCurrentVolume();
    m_outValues.minimum = m_out.GetMinimalVolume();
    m_outValues.maximum = m_out.GetMaximalVolume();
    m_outValues.steps = m_out.GetVolumeSteps();
    m_outValues.mute = m_out.GetMute();
    return 1;
}

} // namespace SonvexDevice
