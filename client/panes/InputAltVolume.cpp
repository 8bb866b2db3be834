#include "InputAltVolume.h"

#include <cstring>
#include <vector>

InputAltVolume* InputAltVolume::s_instance = nullptr;

InputAltVolume::InputAltVolume(UINT mixerId) : CMixerVolume("InputXxxVolume")
{
    s_instance = this;
    if (!OpenMixer(mixerId, "Input Volume Msg Wnd Class", "Input Volume Msg Wnd"))
        s_instance = nullptr;
}

InputAltVolume::~InputAltVolume()
{
    if (s_instance == this)
        s_instance = nullptr;
}

bool InputAltVolume::SelectRecordSource(const char* name)
{
    if (!m_mixer || !name)
        return false;
    MIXERLINEA destination;
    if (!GetDestination(MIXERLINE_COMPONENTTYPE_DST_WAVEIN, &destination))
        return false;
    MIXERCONTROLA mux = {};
    mux.cbStruct = sizeof mux;
    MIXERLINECONTROLSA query = {};
    query.cbStruct = sizeof query;
    query.dwLineID = destination.dwLineID;
    query.dwControlType = MIXERCONTROL_CONTROLTYPE_MUX;
    query.cControls = 1;
    query.cbmxctrl = sizeof mux;
    query.pamxctrl = &mux;
    if (mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &query,
                              MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER) !=
            MMSYSERR_NOERROR ||
        mux.cMultipleItems == 0)
        return false;
    const DWORD channels =
        (mux.fdwControl & MIXERCONTROL_CONTROLF_UNIFORM) ? 1 : destination.cChannels;
    const DWORD items = mux.cMultipleItems;
    std::vector<MIXERCONTROLDETAILS_LISTTEXTA> texts(items * (channels ? channels : 1));
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = mux.dwControlID;
    details.cChannels = channels;
    details.cMultipleItems = items;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_LISTTEXTA);
    details.paDetails = texts.data();
    if (mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                                MIXER_GETCONTROLDETAILSF_LISTTEXT | MIXER_OBJECTF_HMIXER) !=
        MMSYSERR_NOERROR)
        return false;
    for (DWORD i = 0; i < items; ++i) {
        if (strcmp(texts[i].szName, name) != 0)
            continue;
        std::vector<DWORD> values(items * (channels ? channels : 1), 0);
        for (DWORD c = 0; c < (channels ? channels : 1); ++c)
            values[c * items + i] = 1;
        details.cbDetails = sizeof(DWORD);
        details.paDetails = values.data();
        return mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                                      MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER) ==
               MMSYSERR_NOERROR;
    }
    return false;
}
