#include "CVolumeOut.h"

#include <vector>

#include "CMixerNotifyWindow.h"
#include "SonvexLog.h"

namespace SonvexDevice {

namespace {
const char kClassName[] = "Output Volume Msg Wnd Class";
const char kWindowName[] = "Output Volume Msg Wnd";
} // namespace

CVolumeOut::CVolumeOut(IMixerApi& mixer) : m_mixer(mixer) {}

CVolumeOut::~CVolumeOut() { Close(); }

int CVolumeOut::Open(UINT waveOutDevice, DWORD componentType)
{
    Close();
    m_device = waveOutDevice;
    m_componentType = componentType;
    if (!Init(componentType)) {
        Close();
        return 0;
    }
    return 1;
}

int CVolumeOut::Init(DWORD componentType)
{
    m_window = CMixerNotifyWindow::Create(kClassName, kWindowName, this);
    if (!m_window) {
        SonvexLog(2, "<CVolumeOut::Init>,Could not create internal window.\n");
        return 0;
    }
    MMRESULT result = m_mixer.Open(&m_handle, m_device, reinterpret_cast<DWORD_PTR>(m_window), 0,
                                   MIXER_OBJECTF_WAVEOUT | CALLBACK_WINDOW);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::Init>,Could not open Mixer. mmResult=%d\n", (int)result);
        m_handle = nullptr;
        return 0;
    }
    MIXERLINEA line = {};
    line.cbStruct = sizeof(line);
    line.dwComponentType = componentType;
    result = m_mixer.GetLineInfo(Object(), &line,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::Init>,Could not get component. mmResult=%d\n", (int)result);
        return 0;
    }
    m_lineId = line.dwLineID;
    m_channels = line.cChannels ? line.cChannels : 1;

    MIXERCONTROLA control = {};
    control.cbStruct = sizeof(control);
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    result = m_mixer.GetLineControls(Object(), &controls,
                                     MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
    if (result != MMSYSERR_NOERROR) {
        // A destination without a volume of its own: adopt the first source
        // line's volume control.
        bool adopted = false;
        for (DWORD i = 0; i < line.cConnections && !adopted; ++i) {
            MIXERLINEA source = {};
            source.cbStruct = sizeof(source);
            source.dwDestination = line.dwDestination;
            source.dwSource = i;
            if (m_mixer.GetLineInfo(Object(), &source,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE) !=
                MMSYSERR_NOERROR)
                continue;
            controls.dwLineID = source.dwLineID;
            if (m_mixer.GetLineControls(Object(), &controls,
                                        MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
                MMSYSERR_NOERROR) {
                SonvexLog(
                    2, "<CVolumeOut::Init>, \"%s\" Volume control for the Source Line adopted.\n",
                    source.szName);
                m_channels = source.cChannels ? source.cChannels : 1;
                adopted = true;
            }
        }
        if (!adopted) {
            SonvexLog(
                2, "<CVolumeOut::Init>,Could not get the Source line Volume Control. mmResult=%d\n",
                (int)result);
            return 0;
        }
    }
    if (control.fdwControl & MIXERCONTROL_CONTROLF_DISABLED)
        SonvexLog(2, "<CVolumeOut::Init>, The Volume Control is disabled.\n");
    m_volumeId = control.dwControlID;
    m_minimum = static_cast<int32_t>(control.Bounds.dwMinimum);
    m_maximum = static_cast<int32_t>(control.Bounds.dwMaximum);
    m_steps = static_cast<int32_t>(control.Metrics.cSteps);

    MIXERCONTROLA mute = {};
    mute.cbStruct = sizeof(mute);
    controls.dwLineID = m_lineId;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.pamxctrl = &mute;
    result = m_mixer.GetLineControls(Object(), &controls,
                                     MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::Init>,Could not get the Mute Volume Control. mmResult=%d\n",
                  (int)result);
        m_muteId = static_cast<DWORD>(-1);
    } else {
        m_muteId = mute.dwControlID;
    }
    m_opened = 1;
    m_available = 1;
    return 1;
}

void CVolumeOut::Close()
{
    if (m_handle) {
        m_mixer.Close(m_handle);
        m_handle = nullptr;
    }
    CMixerNotifyWindow::Destroy(m_window, kClassName);
    m_window = nullptr;
    m_opened = 0;
    m_available = 0;
    m_muteId = static_cast<DWORD>(-1);
    m_minimum = m_maximum = m_steps = -1;
}

int CVolumeOut::IsAvailable() { return m_available; }
int CVolumeOut::GetVolumeSteps() { return m_available ? m_steps : -1; }
int CVolumeOut::GetMinimalVolume() { return m_available ? m_minimum : -1; }
int CVolumeOut::GetMaximalVolume() { return m_available ? m_maximum : -1; }

int CVolumeOut::GetCurrentVolume()
{
    if (!m_opened)
        return -1;
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(m_channels);
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_volumeId;
    details.cChannels = m_channels;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = values.data();
    MMRESULT result = m_mixer.GetControlDetails(
        Object(), &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::GetCurrentVolume>,Could not get volume. mmResult=%d\n",
                  (int)result);
        SonvexLogAlways("\n<CVolumeOut::GetCurrentVolume>,Could not get volume. mmResult=%d\n",
                        (int)result);
        return -1;
    }
    return static_cast<int>(values[0].dwValue);
}

void CVolumeOut::SetCurrentVolume(DWORD value)
{
    if (!m_opened || static_cast<int64_t>(value) < m_minimum ||
        static_cast<int64_t>(value) > m_maximum)
        return;
    std::vector<MIXERCONTROLDETAILS_UNSIGNED> values(m_channels);
    for (auto& v : values)
        v.dwValue = value;
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_volumeId;
    details.cChannels = m_channels;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_UNSIGNED);
    details.paDetails = values.data();
    MMRESULT result = m_mixer.SetControlDetails(
        Object(), &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::SetCurrentVolume> Could not set volume(%d) mmResult=%d\n",
                  (int)value, (int)result);
        SonvexLogAlways("\n<CVolumeOut::SetCurrentVolume> Could not set volume(%d) mmResult=%d\n",
                        (int)value, (int)result);
    }
}

void CVolumeOut::SetVolumeCallback(VolumeCallback callback, void* context)
{
    m_volumeCallback = callback;
    m_volumeContext = context;
}

void CVolumeOut::SetMuteCallback(MuteCallback callback, void* context)
{
    m_muteCallback = callback;
    m_muteContext = context;
}

int CVolumeOut::SetMute(int value)
{
    if (!m_opened || m_muteId == static_cast<DWORD>(-1))
        return 0;
    MIXERCONTROLDETAILS_BOOLEAN detail = {value ? 1 : 0};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_muteId;
    details.cChannels = 1;
    details.cbDetails = sizeof(detail);
    details.paDetails = &detail;
    MMRESULT result = m_mixer.SetControlDetails(
        Object(), &details, MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::SetMute>,Set Mute failed,mmResult = %d\n", (int)result);
        return 0;
    }
    return 1;
}

int CVolumeOut::GetMute()
{
    if (!m_opened || m_muteId == static_cast<DWORD>(-1))
        return 0;
    MIXERCONTROLDETAILS_BOOLEAN detail = {};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_muteId;
    details.cChannels = 1;
    details.cbDetails = sizeof(detail);
    details.paDetails = &detail;
    MMRESULT result = m_mixer.GetControlDetails(
        Object(), &details, MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::GetMute>,Get Mute failed,mmResult = %d\n", (int)result);
        return 0;
    }
    return detail.fValue;
}

void CVolumeOut::OnControlChange(DWORD controlId)
{
    if (!m_opened)
        return;
    if (controlId == m_volumeId) {
        int volume = GetCurrentVolume();
        if (volume != -1 && m_volumeCallback)
            m_volumeCallback(static_cast<DWORD>(volume), static_cast<DWORD>(volume),
                             m_volumeContext);
    } else if (controlId == m_muteId) {
        if (m_muteCallback)
            m_muteCallback(static_cast<DWORD>(GetMute()), m_muteContext);
    }
}

void CVolumeOut::EnableLine(int on)
{
    if (!m_opened)
        return;
    MIXERLINEA line = {};
    line.cbStruct = sizeof(line);
    line.dwLineID = m_lineId;
    MMRESULT result =
        m_mixer.GetLineInfo(Object(), &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_LINEID);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(
            2,
            "<CVolumeOut::EnableLine>,Could not get the Speakers Destination Line. mmResult=%d\n",
            (int)result);
        return;
    }
    if (line.cControls == 0)
        return;
    std::vector<MIXERCONTROLA> all(line.cControls);
    for (auto& c : all)
        c.cbStruct = sizeof(MIXERCONTROLA);
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = m_lineId;
    controls.cControls = line.cControls;
    controls.cbmxctrl = sizeof(MIXERCONTROLA);
    controls.pamxctrl = all.data();
    result = m_mixer.GetLineControls(Object(), &controls,
                                     MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeOut::EnableLine>,Could not get the line controls. mmResult=%d\n",
                  (int)result);
        return;
    }
    for (const auto& c : all) {
        DWORD type = c.dwControlType;
        LONG value;
        if (type == MIXERCONTROL_CONTROLTYPE_MUTE)
            value = on ? 0 : 1;
        else if (type == MIXERCONTROL_CONTROLTYPE_MUX || type == MIXERCONTROL_CONTROLTYPE_MIXER ||
                 type == MIXERCONTROL_CONTROLTYPE_SINGLESELECT ||
                 type == MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT)
            value = on ? 1 : 0;
        else
            continue;
        DWORD items = (c.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) ? c.cMultipleItems : 0;
        std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(items ? items : 1);
        for (auto& v : values)
            v.fValue = value;
        MIXERCONTROLDETAILS details = {};
        details.cbStruct = sizeof(details);
        details.dwControlID = c.dwControlID;
        details.cChannels = 1;
        details.cMultipleItems = items;
        details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
        details.paDetails = values.data();
        m_mixer.SetControlDetails(Object(), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    }
}

} // namespace SonvexDevice
