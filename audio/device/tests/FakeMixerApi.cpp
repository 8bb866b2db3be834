#include "FakeMixerApi.h"

#include <algorithm>
#include <cstring>

using namespace SonvexDevice;

FakeMixerApi::FakeMixerApi()
{
    m_lines = {
        {0x10000, 0, 0, MIXERLINE_COMPONENTTYPE_DST_WAVEIN, 2, "Rec"},
        {0x10001, 0, 0, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE, 0, "Mic"},
        {0x10002, 0, 1, MIXERLINE_COMPONENTTYPE_SRC_LINE, 0, "Line"},
        {0x20000, 1, 0, MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, 0, "Speakers"},
    };
    m_controls = {
        {MIC_VOLUME, 0x10001, MIXERCONTROL_CONTROLTYPE_VOLUME, 0, 0, 65535, "Mic Volume"},
        {LINE_VOLUME, 0x10002, MIXERCONTROL_CONTROLTYPE_VOLUME, 0, 0, 65535, "Line Volume"},
        {SELECTOR, 0x10000, MIXERCONTROL_CONTROLTYPE_MUX, 2, 0, 1, "Source"},
        {SPEAKER_VOLUME, 0x20000, MIXERCONTROL_CONTROLTYPE_VOLUME, 0, 0, 65535, "Volume"},
        {SPEAKER_MUTE, 0x20000, MIXERCONTROL_CONTROLTYPE_MUTE, 0, 0, 1, "Mute"},
    };
    values[MIC_VOLUME] = {30000};
    values[LINE_VOLUME] = {20000};
    values[SELECTOR] = {1, 0};
    values[SPEAKER_VOLUME] = {40000, 40000};
    values[SPEAKER_MUTE] = {0};
}

MMRESULT FakeMixerApi::Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR, DWORD flags)
{
    if (openResult != MMSYSERR_NOERROR)
        return openResult;
    if (id >= devices)
        return MMSYSERR_BADDEVICEID;
    if ((flags & CALLBACK_TYPEMASK) == CALLBACK_WINDOW && callback)
        m_windows.push_back(reinterpret_cast<HWND>(callback));
    ++opens;
    openedIds.push_back(id);
    *mixer = reinterpret_cast<HMIXER>(static_cast<uintptr_t>(0x7000 + opens));
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixerApi::Close(HMIXER)
{
    ++closes;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixerApi::GetDevCaps(UINT_PTR, MIXERCAPSA* caps)
{
    memset(caps, 0, sizeof(*caps));
    strcpy(caps->szPname, "Fake Mixer");
    caps->cDestinations = 2;
    return MMSYSERR_NOERROR;
}

void FakeMixerApi::Fill(const Line& line, MIXERLINEA* out) const
{
    out->dwDestination = line.destination;
    out->dwSource = line.source;
    out->dwLineID = line.id;
    out->fdwLine = MIXERLINE_LINEF_ACTIVE;
    out->dwComponentType = line.componentType;
    out->cChannels = line.componentType == MIXERLINE_COMPONENTTYPE_DST_SPEAKERS ? 2 : 1;
    out->cConnections = line.connections;
    DWORD count = 0;
    for (const auto& c : m_controls)
        if (c.line == line.id && (c.type != MIXERCONTROL_CONTROLTYPE_MUX || withSelector))
            ++count;
    out->cControls = count;
    strncpy(out->szShortName, line.name.c_str(), sizeof(out->szShortName) - 1);
    strncpy(out->szName, line.name.c_str(), sizeof(out->szName) - 1);
}

void FakeMixerApi::Fill(const Control& control, MIXERCONTROLA* out) const
{
    out->cbStruct = sizeof(*out);
    out->dwControlID = control.id;
    out->dwControlType = control.type;
    out->fdwControl =
        control.items ? (MIXERCONTROL_CONTROLF_MULTIPLE | MIXERCONTROL_CONTROLF_UNIFORM) : 0;
    out->cMultipleItems = control.items;
    strncpy(out->szShortName, control.name.c_str(), sizeof(out->szShortName) - 1);
    out->Bounds.dwMinimum = control.minimum;
    out->Bounds.dwMaximum = control.maximum;
    out->Metrics.cSteps = control.maximum - control.minimum + 1;
}

MMRESULT FakeMixerApi::GetLineInfo(HMIXEROBJ, MIXERLINEA* line, DWORD flags)
{
    const DWORD query = flags & MIXER_GETLINEINFOF_QUERYMASK;
    for (const auto& l : m_lines) {
        bool match = false;
        if (query == MIXER_GETLINEINFOF_COMPONENTTYPE)
            match = l.componentType == line->dwComponentType;
        else if (query == MIXER_GETLINEINFOF_SOURCE)
            match = l.connections == 0 && l.componentType >= MIXERLINE_COMPONENTTYPE_SRC_FIRST &&
                    l.destination == line->dwDestination && l.source == line->dwSource;
        else if (query == MIXER_GETLINEINFOF_LINEID)
            match = l.id == line->dwLineID;
        if (match) {
            Fill(l, line);
            return MMSYSERR_NOERROR;
        }
    }
    return MIXERR_INVALLINE;
}

MMRESULT FakeMixerApi::GetLineControls(HMIXEROBJ, MIXERLINECONTROLSA* controls, DWORD flags)
{
    const DWORD query = flags & MIXER_GETLINECONTROLSF_QUERYMASK;
    DWORD filled = 0;
    for (const auto& c : m_controls) {
        if (c.line != controls->dwLineID)
            continue;
        if (c.type == MIXERCONTROL_CONTROLTYPE_MUX && !withSelector)
            continue;
        if (query == MIXER_GETLINECONTROLSF_ONEBYTYPE) {
            if (c.type != controls->dwControlType)
                continue;
            Fill(c, controls->pamxctrl);
            return MMSYSERR_NOERROR;
        }
        if (query == MIXER_GETLINECONTROLSF_ALL && filled < controls->cControls)
            Fill(c, &controls->pamxctrl[filled++]);
    }
    if (query == MIXER_GETLINECONTROLSF_ALL && filled > 0)
        return MMSYSERR_NOERROR;
    return MIXERR_INVALCONTROL;
}

const FakeMixerApi::Control* FakeMixerApi::FindControl(DWORD id) const
{
    for (const auto& c : m_controls)
        if (c.id == id && (c.type != MIXERCONTROL_CONTROLTYPE_MUX || withSelector))
            return &c;
    return nullptr;
}

MMRESULT FakeMixerApi::GetControlDetails(HMIXEROBJ, MIXERCONTROLDETAILS* details, DWORD flags)
{
    const Control* c = FindControl(details->dwControlID);
    if (!c)
        return MIXERR_INVALCONTROL;
    if ((flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) == MIXER_GETCONTROLDETAILSF_LISTTEXT) {
        if (!c->items)
            return MMSYSERR_INVALPARAM;
        auto* names = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(details->paDetails);
        for (DWORD i = 0; i < c->items && i < details->cMultipleItems; ++i) {
            memset(&names[i], 0, sizeof(names[i]));
            strcpy(names[i].szName, i == 0 ? "Mic" : "Line");
        }
        return MMSYSERR_NOERROR;
    }
    const std::vector<DWORD>& v = values[c->id];
    DWORD count = c->items ? details->cMultipleItems : details->cChannels;
    auto* out =
        static_cast<DWORD*>(details->paDetails); // UNSIGNED and BOOLEAN are one 32-bit value
    for (DWORD i = 0; i < count; ++i)
        out[i] = v[std::min<size_t>(i, v.size() - 1)];
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixerApi::SetControlDetails(HMIXEROBJ, MIXERCONTROLDETAILS* details, DWORD)
{
    const Control* c = FindControl(details->dwControlID);
    if (!c)
        return MIXERR_INVALCONTROL;
    DWORD count = c->items ? details->cMultipleItems : details->cChannels;
    const auto* in = static_cast<const DWORD*>(details->paDetails);
    std::vector<DWORD> v(in, in + count);
    if (!c->items && v.size() == 1 && values[c->id].size() > 1)
        v.assign(values[c->id].size(), v[0]); // uniform
    ++sets;
    if (values[c->id] != v) {
        values[c->id] = v;
        Notify(c->id);
    }
    return MMSYSERR_NOERROR;
}

void FakeMixerApi::UserSet(DWORD control, const std::vector<DWORD>& value)
{
    values[control] = value;
    Notify(control);
}

void FakeMixerApi::Notify(DWORD control)
{
    for (HWND window : m_windows)
        if (IsWindow(window))
            PostMessageA(window, MM_MIXM_CONTROL_CHANGE, 0, control);
}
