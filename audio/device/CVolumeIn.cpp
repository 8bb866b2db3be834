#include "CVolumeIn.h"

#include <cstring>

#include "CMixerNotifyWindow.h"
#include "SonvexLog.h"

namespace SonvexDevice {

namespace {
const char kClassName[] = "Input Volume Msg Wnd Class";
const char kWindowName[] = "Input Volume Msg Wnd";
} // namespace

CVolumeIn::CVolumeIn(IMixerApi& mixer) : m_mixer(mixer) {}

CVolumeIn::~CVolumeIn() { Close(); }

int CVolumeIn::Open(UINT waveInDevice)
{
    if (m_opened || m_window)
        Close();
    m_device = waveInDevice;
    if (m_mixer.GetNumDevs() == 0)
        return 0;

    m_window = CMixerNotifyWindow::Create(kClassName, kWindowName, this);
    if (!m_window) {
        SonvexLog(2, "<CVolumeIn::Open>,Could not create internal window.\n");
        return 0;
    }

    MMRESULT result = m_mixer.Open(&m_handle, waveInDevice, reinterpret_cast<DWORD_PTR>(m_window),
                                   0, MIXER_OBJECTF_WAVEIN | CALLBACK_WINDOW);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeIn::Open>,Could not open Mixer. mmResult=%d\n", (int)result);
        m_handle = nullptr;
        Close();
        return 0;
    }
    HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(m_handle);
    MIXERCAPSA caps = {};
    result = m_mixer.GetDevCaps(reinterpret_cast<UINT_PTR>(m_handle), &caps);
    if (result != MMSYSERR_NOERROR)
        SonvexLog(2, "<CVolumeIn::Open>,Could not Get Mixer Caps. mmResult=%d\n", (int)result);

    MIXERLINEA destination = {};
    destination.cbStruct = sizeof(destination);
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    result = m_mixer.GetLineInfo(object, &destination,
                                 MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeIn::Open>,Could not get component. mmResult=%d\n", (int)result);
        Close();
        return 0;
    }
    m_destinationLineId = destination.dwLineID;

    bool anyVolume = false;
    for (DWORD i = 0; i < destination.cConnections; ++i) {
        MIXERLINEA line = {};
        line.cbStruct = sizeof(line);
        line.dwDestination = destination.dwDestination;
        line.dwSource = i;
        result =
            m_mixer.GetLineInfo(object, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_SOURCE);
        if (result != MMSYSERR_NOERROR) {
            SonvexLog(2,
                      "<CVolumeIn::Open>,Could not get the requested Source Line while "
                      "initilaizing. mmResult=%d\n",
                      (int)result);
            continue;
        }
        SOURCE_ENTRY entry = {};
        entry.lineId = line.dwLineID;
        entry.componentType = line.dwComponentType;
        entry.available = (line.fdwLine & MIXERLINE_LINEF_DISCONNECTED) ? 0 : 1;
        strncpy(entry.name, line.szShortName, sizeof(entry.name) - 1);
        entry.minimum = entry.maximum = entry.steps = -1;

        MIXERCONTROLA control = {};
        control.cbStruct = sizeof(control);
        MIXERLINECONTROLSA controls = {};
        controls.cbStruct = sizeof(controls);
        controls.dwLineID = line.dwLineID;
        controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
        controls.cControls = 1;
        controls.cbmxctrl = sizeof(control);
        controls.pamxctrl = &control;
        result = m_mixer.GetLineControls(object, &controls,
                                         MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE);
        if (result != MMSYSERR_NOERROR) {
            SonvexLog(2, "CVolumeIn::Open mmResult != MMSYSERR_NOERROR \n");
        } else {
            entry.volumeControlId = control.dwControlID;
            entry.minimum = static_cast<int32_t>(control.Bounds.dwMinimum);
            entry.maximum = static_cast<int32_t>(control.Bounds.dwMaximum);
            entry.steps = static_cast<int32_t>(control.Metrics.cSteps);
            entry.valid = 1;
            anyVolume = true;
        }
        m_sources.push_back(entry);
    }

    if (destination.cControls > 0) {
        std::vector<MIXERCONTROLA> all(destination.cControls);
        MIXERLINECONTROLSA controls = {};
        controls.cbStruct = sizeof(controls);
        controls.dwLineID = destination.dwLineID;
        controls.cControls = destination.cControls;
        controls.cbmxctrl = sizeof(MIXERCONTROLA);
        controls.pamxctrl = all.data();
        for (auto& c : all)
            c.cbStruct = sizeof(MIXERCONTROLA);
        if (m_mixer.GetLineControls(object, &controls,
                                    MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ALL) ==
            MMSYSERR_NOERROR) {
            const MIXERCONTROLA* volume = nullptr;
            for (const auto& c : all) {
                if (c.dwControlType == MIXERCONTROL_CONTROLTYPE_MUX && m_muxItems < 0) {
                    m_muxId = c.dwControlID;
                    m_muxItems = static_cast<int>(c.cMultipleItems);
                }
                if (c.dwControlType == MIXERCONTROL_CONTROLTYPE_VOLUME && !volume)
                    volume = &c;
            }
            if (!anyVolume && m_sources.size() == 1 && volume) {
                SOURCE_ENTRY& entry = m_sources[0];
                entry.volumeControlId = volume->dwControlID;
                entry.minimum = static_cast<int32_t>(volume->Bounds.dwMinimum);
                entry.maximum = static_cast<int32_t>(volume->Bounds.dwMaximum);
                entry.steps = static_cast<int32_t>(volume->Metrics.cSteps);
                entry.valid = 1;
            }
        }
    }

    SonvexLog(2, "\n\n input MixerLine.cConnections= %d\n", (int)destination.cConnections);
    for (size_t i = 0; i < m_sources.size(); ++i) {
        const SOURCE_ENTRY& s = m_sources[i];
        SonvexLog(2,
                  "\n[%2d]  dwLineID=0x%05x  dwVolumeControlID=0x%02x  dwComponentType=0x%04x "
                  " bValid=%d  bAvailable=%d  Volume=[%d:%d:%d]  Name='%s' ",
                  (int)i, (unsigned)s.lineId, (unsigned)s.volumeControlId,
                  (unsigned)s.componentType, s.valid, s.available, s.minimum, s.steps, s.maximum,
                  s.name);
    }
    m_opened = 1;
    m_current = m_muxItems > 0 ? SourceForItem(ReadSelectedItem()) : -1;
    // Without a selector a single source is the one that records.
    if (m_current < 0 && m_muxItems <= 0 && m_sources.size() == 1)
        m_current = 0;
    return 1;
}

void CVolumeIn::Close()
{
    if (m_handle) {
        m_mixer.Close(m_handle);
        m_handle = nullptr;
    }
    CMixerNotifyWindow::Destroy(m_window, kClassName);
    m_window = nullptr;
    m_sources.clear();
    m_opened = 0;
    m_current = -1;
    m_muxId = static_cast<DWORD>(-1);
    m_muxItems = -1;
    m_forced = 0;
}

bool CVolumeIn::ReadItemNames(std::vector<MIXERCONTROLDETAILS_LISTTEXTA>& names)
{
    if (!m_handle || m_muxItems <= 0)
        return false;
    names.assign(m_muxItems, MIXERCONTROLDETAILS_LISTTEXTA());
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_muxId;
    details.cChannels = 1;
    details.cMultipleItems = m_muxItems;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_LISTTEXTA);
    details.paDetails = names.data();
    return m_mixer.GetControlDetails(reinterpret_cast<HMIXEROBJ>(m_handle), &details,
                                     MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_LISTTEXT) ==
           MMSYSERR_NOERROR;
}

int CVolumeIn::ReadSelectedItem()
{
    if (!m_handle || m_muxItems <= 0)
        return -1;
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(m_muxItems);
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_muxId;
    details.cChannels = 1;
    details.cMultipleItems = m_muxItems;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
    details.paDetails = values.data();
    if (m_mixer.GetControlDetails(reinterpret_cast<HMIXEROBJ>(m_handle), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return -1;
    for (int i = 0; i < m_muxItems; ++i)
        if (values[i].fValue)
            return i;
    return -1;
}

int CVolumeIn::SourceForItem(int item)
{
    std::vector<MIXERCONTROLDETAILS_LISTTEXTA> names;
    if (item < 0 || !ReadItemNames(names) || item >= static_cast<int>(names.size()))
        return -1;
    for (size_t i = 0; i < m_sources.size(); ++i)
        if (strcmp(m_sources[i].name, names[item].szName) == 0)
            return static_cast<int>(i);
    return -1;
}

int CVolumeIn::SelectSource(int index, int forced)
{
    if (!m_opened || index < 0 || index >= GetSourceCount() || !m_sources[index].valid ||
        m_muxItems <= 0)
        return 0;
    std::vector<MIXERCONTROLDETAILS_LISTTEXTA> names;
    if (!ReadItemNames(names))
        return 0;
    std::vector<MIXERCONTROLDETAILS_BOOLEAN> values(m_muxItems);
    bool found = false;
    for (int i = 0; i < m_muxItems; ++i) {
        values[i].fValue = strcmp(names[i].szName, m_sources[index].name) == 0 ? 1 : 0;
        found = found || values[i].fValue;
    }
    if (!found)
        return 0;
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_muxId;
    details.cChannels = 1;
    details.cMultipleItems = m_muxItems;
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
    details.paDetails = values.data();
    if (m_mixer.SetControlDetails(reinterpret_cast<HMIXEROBJ>(m_handle), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE) !=
        MMSYSERR_NOERROR)
        return 0;
    m_current = index;
    m_forced = forced;
    return 1;
}

int CVolumeIn::SelectSourceByType(DWORD componentType)
{
    for (size_t i = 0; i < m_sources.size(); ++i)
        if (m_sources[i].componentType == componentType)
            return SelectSource(static_cast<int>(i), 0);
    return 0;
}

int CVolumeIn::GetSourceName(int index, char* buffer, int size) const
{
    if (index < 0 || index >= GetSourceCount() || !buffer || size <= 0)
        return 0;
    int length = static_cast<int>(strlen(m_sources[index].name));
    if (length >= size)
        return 0;
    memcpy(buffer, m_sources[index].name, length + 1);
    return length;
}

DWORD CVolumeIn::GetCurrentSourceType() const
{
    return m_current >= 0 ? m_sources[m_current].componentType : 0;
}

int CVolumeIn::IsAvailable() { return m_current >= 0 ? m_sources[m_current].available : 0; }

int CVolumeIn::GetVolumeSteps() { return m_current >= 0 ? m_sources[m_current].steps : -1; }

int CVolumeIn::GetMinimalVolume() { return m_current >= 0 ? m_sources[m_current].minimum : -1; }

int CVolumeIn::GetMaximalVolume() { return m_current >= 0 ? m_sources[m_current].maximum : -1; }

int CVolumeIn::GetCurrentVolume()
{
    if (!m_handle || m_current < 0 || !m_sources[m_current].valid)
        return -1;
    MIXERCONTROLDETAILS_UNSIGNED value = {};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = m_sources[m_current].volumeControlId;
    details.cChannels = 1;
    details.cbDetails = sizeof(value);
    details.paDetails = &value;
    MMRESULT result =
        m_mixer.GetControlDetails(reinterpret_cast<HMIXEROBJ>(m_handle), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_GETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeIn::GetCurrentVolume>,Could not get volume. mmResult=%d\n",
                  (int)result);
        SonvexLogAlways("\n<CVolumeIn::GetCurrentVolume>,Could not get volume. mmResult=%d\n",
                        (int)result);
        return -1;
    }
    return static_cast<int>(value.dwValue);
}

void CVolumeIn::SetCurrentVolume(DWORD value)
{
    if (!m_handle || m_current < 0 || !m_sources[m_current].valid)
        return;
    const SOURCE_ENTRY& s = m_sources[m_current];
    if (static_cast<int64_t>(value) < s.minimum || static_cast<int64_t>(value) > s.maximum)
        return;
    MIXERCONTROLDETAILS_UNSIGNED detail = {value};
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof(details);
    details.dwControlID = s.volumeControlId;
    details.cChannels = 1;
    details.cbDetails = sizeof(detail);
    details.paDetails = &detail;
    MMRESULT result =
        m_mixer.SetControlDetails(reinterpret_cast<HMIXEROBJ>(m_handle), &details,
                                  MIXER_OBJECTF_HMIXER | MIXER_SETCONTROLDETAILSF_VALUE);
    if (result != MMSYSERR_NOERROR) {
        SonvexLog(2, "<CVolumeIn::SetCurrentVolume> Could not set volume(%d) mmResult=%d\n",
                  (int)value, (int)result);
        SonvexLogAlways("\n<CVolumeIn::SetCurrentVolume> Could not set volume(%d) mmResult=%d\n",
                        (int)value, (int)result);
    }
}

void CVolumeIn::SetVolumeCallback(VolumeCallback callback, void* context)
{
    m_volumeCallback = callback;
    m_volumeContext = context;
}

void CVolumeIn::SetSourceCallback(SourceCallback callback, void* context)
{
    m_sourceCallback = callback;
    m_sourceContext = context;
}

void CVolumeIn::OnControlChange(DWORD controlId)
{
    if (!m_opened)
        return;
    if (m_current >= 0 && m_sources[m_current].valid &&
        controlId == m_sources[m_current].volumeControlId) {
        int volume = GetCurrentVolume();
        if (volume != -1 && m_volumeCallback)
            m_volumeCallback(static_cast<DWORD>(volume), static_cast<DWORD>(volume),
                             m_volumeContext);
        return;
    }
    if (m_muxItems > 0 && controlId == m_muxId) {
        int selected = SourceForItem(ReadSelectedItem());
        if (m_forced && m_current >= 0 && selected != m_current) {
            SelectSource(m_current, 1);
            return;
        }
        if (selected >= 0 && selected != m_current) {
            m_current = selected;
            if (m_sourceCallback)
                m_sourceCallback(this, selected, m_sourceContext);
        }
    }
}

} // namespace SonvexDevice
