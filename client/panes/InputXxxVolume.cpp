#include "InputXxxVolume.h"

#include <vector>

InputXxxVolume* InputXxxVolume::s_instance = nullptr;

InputXxxVolume::InputXxxVolume(UINT mixerId, UINT sourceIndex)
    : CMixerVolume("InputXxxVolume"), m_sourceIndex(sourceIndex)
{
    s_instance = this;
    if (!OpenMixer(mixerId, "Input Volume Msg Wnd Class", "Input Volume Msg Wnd"))
        return;
    Log("Initializing for the Source Line (%d) ..\n", static_cast<int>(sourceIndex));
    MIXERLINEA destination;
    if (!GetDestination(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, &destination)) {
        Log("FAILURE: Could not get WaveIn Destionation Line for the requested source while "
            "initilaizing.\n");
        CloseMixer();
        s_instance = nullptr;
        return;
    }
    if (sourceIndex >= destination.cConnections) {
        Log("FAILURE: Invalid Source Line index passed.\n");
        CloseMixer();
        s_instance = nullptr;
        return;
    }
    MIXERLINEA source = {};
    source.cbStruct = sizeof source;
    source.dwDestination = destination.dwDestination;
    source.dwSource = sourceIndex;
    if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(m_mixer), &source,
                          MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_HMIXER) != MMSYSERR_NOERROR) {
        Log("FAILURE: Could not get the requested Source Line while initilaizing.\n");
        CloseMixer();
        s_instance = nullptr;
        return;
    }
    m_lineName = source.szName;
    Log("\"%s\" Source Line adopted.\n", source.szName);
    if (AdoptVolumeControl(source))
        Log("\"%s\" Volume control for the Source Line adopted\n", source.szName);
    for (DWORD i = 0; i < destination.cConnections; ++i) {
        MIXERLINEA other = {};
        other.cbStruct = sizeof other;
        other.dwDestination = destination.dwDestination;
        other.dwSource = i;
        if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(m_mixer), &other,
                              MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_HMIXER) ==
                MMSYSERR_NOERROR &&
            other.dwComponentType == MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE) {
            m_micIndex = static_cast<int>(i);
            Log("Microphone Source Line \"%s\" has been found.\n", other.szName);
            break;
        }
    }
    if (m_micIndex < 0)
        Log("WARNING: Could not retrieve Microphone Source Line.\n");
    m_lineId = source.dwLineID;
    m_channels = source.cChannels ? source.cChannels : 1;
    m_adopted = true;
}

InputXxxVolume::~InputXxxVolume()
{
    if (s_instance == this)
        s_instance = nullptr;
}

bool InputXxxVolume::Disable()
{
    Log("WARNING: Disable line has no sense. The function not implemented.\n");
    return false;
}

bool InputXxxVolume::Enable()
{
    return m_mixer && EnableInputLine(*this, m_mixer, m_sourceIndex, m_channels);
}

bool InputXxxVolume::EnableInputLine(CMixerVolume&, HMIXER mixer, DWORD index, DWORD channels)
{
    MIXERLINEA destination = {};
    destination.cbStruct = sizeof destination;
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &destination,
                          MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER) !=
            MMSYSERR_NOERROR ||
        destination.cControls == 0)
        return false;
    std::vector<MIXERCONTROLA> controls(destination.cControls);
    MIXERLINECONTROLSA query = {};
    query.cbStruct = sizeof query;
    query.dwLineID = destination.dwLineID;
    query.cControls = destination.cControls;
    query.cbmxctrl = sizeof(MIXERCONTROLA);
    query.pamxctrl = controls.data();
    if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(mixer), &query,
                              MIXER_GETLINECONTROLSF_ALL | MIXER_OBJECTF_HMIXER) !=
        MMSYSERR_NOERROR)
        return false;
    for (const MIXERCONTROLA& c : controls) {
        if ((c.dwControlType & MIXERCONTROL_CT_UNITS_MASK) != MIXERCONTROL_CT_UNITS_BOOLEAN)
            continue;
        const DWORD ch =
            (c.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : (channels ? channels : 1);
        const bool multiple = (c.fdwControl & MIXERCONTROL_CONTROLF_MULTIPLE) != 0;
        const DWORD items = multiple ? c.cMultipleItems : 1;
        std::vector<DWORD> values(ch * (items ? items : 1), multiple ? 0 : 1);
        if (multiple)
            for (DWORD k = 0; k < ch; ++k)
                if (index < items)
                    values[k * items + index] = 1;
        MIXERCONTROLDETAILS details = {};
        details.cbStruct = sizeof details;
        details.dwControlID = c.dwControlID;
        details.cChannels = ch;
        details.cMultipleItems = multiple ? c.cMultipleItems : 0;
        details.cbDetails = sizeof(DWORD);
        details.paDetails = values.data();
        mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(mixer), &details,
                               MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
    }
    return true;
}

bool InputXxxVolume::EnumerateLines(PFN_LINE_SINK sink, UINT mixerId, void* user)
{
    if (!sink || mixerGetNumDevs() == 0)
        return false;
    HMIXER mixer = NULL;
    if (mixerOpen(&mixer, mixerId, 0, 0, MIXER_OBJECTF_MIXER) != MMSYSERR_NOERROR)
        return false;
    bool ok = false;
    MIXERLINEA destination = {};
    destination.cbStruct = sizeof destination;
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &destination,
                          MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER) ==
        MMSYSERR_NOERROR) {
        ok = true;
        for (DWORD i = 0; i < destination.cConnections; ++i) {
            MIXERLINEA source = {};
            source.cbStruct = sizeof source;
            source.dwDestination = destination.dwDestination;
            source.dwSource = i;
            if (mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(mixer), &source,
                                  MIXER_GETLINEINFOF_SOURCE | MIXER_OBJECTF_HMIXER) !=
                MMSYSERR_NOERROR) {
                ok = false;
                break;
            }
            if (!sink(i, &source, user))
                break;
        }
    }
    mixerClose(mixer);
    return ok;
}
