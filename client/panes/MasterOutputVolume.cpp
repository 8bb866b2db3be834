#include "MasterOutputVolume.h"

#include <vector>

MasterOutputVolume* MasterOutputVolume::s_instance = nullptr;

MasterOutputVolume::MasterOutputVolume(UINT mixerId) : CMixerVolume("MasterOutputVolume")
{
    s_instance = this;
    if (!OpenMixer(mixerId, "Master Output Volume Msg Wnd Class", "Master Output Volume Msg Wnd"))
        return;
    Log("Initializing for Source MasterOut Line ..\n");
    MIXERLINEA line;
    if (!GetDestination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, &line)) {
        Log("FAILURE: Could not get Speakers Destionation Line for the MasterOut Source Line while "
            "initilaizing.\n");
        CloseMixer();
        s_instance = nullptr;
        return;
    }
    m_adopted = true;
    m_lineId = line.dwLineID;
    m_channels = line.cChannels ? line.cChannels : 1;
    if (AdoptVolumeControl(line))
        Log("\"%s\" Volume control for the Speakers Source Line adopted.\n", line.szName);
    MIXERCONTROLA control = {};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &controls,
                              MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER) ==
        MMSYSERR_NOERROR)
        m_muteId = control.dwControlID;
    else
        Log("WARNING: Could not get the Speakers Mute Volume Control while initilaizing.\n");
}

MasterOutputVolume::~MasterOutputVolume()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void MasterOutputVolume::RegisterNotificationSinks(PFN_VOLUME_SINK volume, PFN_VOLUME_SINK mute,
                                                   DWORD user)
{
    RegisterNotificationSink(volume, user);
    m_muteSink = mute;
}

bool MasterOutputVolume::GetMute() const
{
    if (!m_mixer || m_muteId == static_cast<DWORD>(-1))
        return false;
    DWORD value = 0;
    return GetControlValues(m_muteId, 1, &value) && value != 0;
}

void MasterOutputVolume::SetMute(bool mute)
{
    if (!m_mixer || m_muteId == static_cast<DWORD>(-1))
        return;
    const DWORD value = mute ? 1 : 0;
    SetControlValues(m_muteId, 1, &value);
}

void MasterOutputVolume::OnControlChange(DWORD controlId)
{
    CMixerVolume::OnControlChange(controlId);
    if (controlId == m_muteId && m_muteSink)
        m_muteSink(GetMute() ? 1 : 0, m_user);
}

bool MasterOutputVolume::SetLineSwitches(bool enable)
{
    const char* what = enable ? "enabling" : "disabling";
    if (!m_mixer)
        return false;
    MIXERLINEA line;
    if (!GetDestination(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, &line)) {
        Log("FAILURE: Could not get the Speakers Destination Line while %s.\n", what);
        return false;
    }
    std::string raw;
    DWORD count = 0;
    if (!GetLineControls(line, &raw, &count)) {
        Log(count ? "FAILURE: Could not get the line controls while %s.\n"
                  : "WARNING: No controls were found for %s the line.\n",
            what);
        return false;
    }
    const MIXERCONTROLA* controls = reinterpret_cast<const MIXERCONTROLA*>(raw.data());
    for (DWORD i = 0; i < count; ++i) {
        const MIXERCONTROLA& c = controls[i];
        DWORD value;
        if (c.dwControlType == MIXERCONTROL_CONTROLTYPE_MUTE)
            value = enable ? 0 : 1;
        else if (c.dwControlType == MIXERCONTROL_CONTROLTYPE_SINGLESELECT ||
                 c.dwControlType == MIXERCONTROL_CONTROLTYPE_MUX ||
                 c.dwControlType == MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT ||
                 c.dwControlType == MIXERCONTROL_CONTROLTYPE_MIXER)
            value = enable ? 1 : 0;
        else
            continue;
        const DWORD channels = (c.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : m_channels;
        const DWORD items = (c.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) ? c.cMultipleItems : 1;
        std::vector<DWORD> values(channels * (items ? items : 1), value);
        MIXERCONTROLDETAILS details = {};
        details.cbStruct = sizeof details;
        details.dwControlID = c.dwControlID;
        details.cChannels = channels;
        details.cMultipleItems =
            (c.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) ? c.cMultipleItems : 0;
        details.cbDetails = sizeof(DWORD);
        details.paDetails = values.data();
        if (mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                                   MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) ==
            MMSYSERR_NOERROR)
            Log("%s Line: Speakers Line control \"%s\"(0x%X) has been set to %d.\n",
                enable ? "Enabling" : "Disabling", c.szName, static_cast<unsigned>(c.dwControlType),
                static_cast<int>(value));
    }
    return true;
}
