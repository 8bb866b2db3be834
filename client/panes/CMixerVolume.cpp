#include "CMixerVolume.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

#include "ClientLog.h"

CMixerVolume::CMixerVolume(const char* logName) : m_logName(logName ? logName : "") {}

CMixerVolume::~CMixerVolume() { CloseMixer(); }

void CMixerVolume::Log(const char* format, ...) const
{
    char text[512];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    g_Log.Write(2, ".%s: %s", m_logName.c_str(), text);
}

bool CMixerVolume::OpenMixer(UINT mixerId, const char* className, const char* windowName)
{
    m_mixerId = mixerId;
    if (mixerGetNumDevs() == 0)
        return false;
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &CMixerVolume::WindowProc;
    wc.hInstance = ::GetModuleHandleA(NULL);
    wc.lpszClassName = className;
    ::RegisterClassA(&wc);
    m_window = ::CreateWindowA(className, windowName, WS_POPUP, 0, 0, 0, 0, NULL, NULL,
                               wc.hInstance, NULL);
    if (!m_window) {
        Log("FAILURE: Could not create internal window.\n");
        return false;
    }
    ::SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const MMRESULT result = mixerOpen(&m_mixer, mixerId, reinterpret_cast<DWORD_PTR>(m_window), 0,
                                      CALLBACK_WINDOW | MIXER_OBJECTF_MIXER);
    if (result != MMSYSERR_NOERROR) {
        Log("FAILURE: Could not open Mixer. mmResult=%d\n", static_cast<int>(result));
        ::DestroyWindow(m_window);
        m_window = NULL;
        m_mixer = NULL;
        return false;
    }
    m_opened = true;
    return true;
}

void CMixerVolume::CloseMixer()
{
    if (m_mixer && mixerClose(m_mixer) != MMSYSERR_NOERROR)
        Log("WARNING: Could not close Mixer.\n");
    m_mixer = NULL;
    m_opened = false;
    m_adopted = false;
    m_available = false;
    if (m_window) {
        ::SetWindowLongPtrA(m_window, GWLP_USERDATA, 0);
        ::DestroyWindow(m_window);
        m_window = NULL;
    }
}

LRESULT CALLBACK CMixerVolume::WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == MM_MIXM_CONTROL_CHANGE) {
        CMixerVolume* self =
            reinterpret_cast<CMixerVolume*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        if (self && reinterpret_cast<HMIXER>(wParam) == self->m_mixer)
            self->OnControlChange(static_cast<DWORD>(lParam));
        return 0;
    }
    return ::DefWindowProcA(hWnd, message, wParam, lParam);
}

void CMixerVolume::OnControlChange(DWORD controlId)
{
    if (controlId != m_controlId || !m_available)
        return;
    const int volume = GetCurrentVolume();
    if (volume != -1 && m_sink)
        m_sink(static_cast<DWORD>(volume), m_user);
}

int CMixerVolume::GetVolumeMetric() const { return m_available ? static_cast<int>(m_steps) : -1; }

int CMixerVolume::GetMinimalVolume() const { return m_available ? static_cast<int>(m_min) : -1; }

int CMixerVolume::GetMaximalVolume() const { return m_available ? static_cast<int>(m_max) : -1; }

int CMixerVolume::GetCurrentVolume() const
{
    if (!m_available)
        return -1;
    std::vector<DWORD> values(m_channels ? m_channels : 1);
    if (!GetControlValues(m_controlId, static_cast<DWORD>(values.size()), values.data()))
        return -1;
    return static_cast<int>(values[0]);
}

void CMixerVolume::SetCurrentVolume(DWORD value)
{
    if (!m_available || value < m_min || value > m_max)
        return;
    std::vector<DWORD> values(m_channels ? m_channels : 1, value);
    SetControlValues(m_controlId, static_cast<DWORD>(values.size()), values.data());
}

void CMixerVolume::RegisterNotificationSink(PFN_VOLUME_SINK sink, DWORD user)
{
    m_sink = sink;
    m_user = user;
}

bool CMixerVolume::GetControlValues(DWORD controlId, DWORD channels, DWORD* values) const
{
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = channels;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = values;
    const MMRESULT result =
        mixerGetControlDetailsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                                MIXER_GETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
    if (result != MMSYSERR_NOERROR) {
        Log("FAILURE: Could not get volume. mmResult=%d\n", static_cast<int>(result));
        return false;
    }
    return true;
}

bool CMixerVolume::SetControlValues(DWORD controlId, DWORD channels, const DWORD* values)
{
    MIXERCONTROLDETAILS details = {};
    details.cbStruct = sizeof details;
    details.dwControlID = controlId;
    details.cChannels = channels;
    details.cbDetails = sizeof(DWORD);
    details.paDetails = const_cast<DWORD*>(values);
    const MMRESULT result =
        mixerSetControlDetails(reinterpret_cast<HMIXEROBJ>(m_mixer), &details,
                               MIXER_SETCONTROLDETAILSF_VALUE | MIXER_OBJECTF_HMIXER);
    if (result != MMSYSERR_NOERROR) {
        Log("FAILURE: Could not set volume(%d) mmResult=%d\n", static_cast<int>(values[0]),
            static_cast<int>(result));
        return false;
    }
    return true;
}

bool CMixerVolume::GetDestination(DWORD componentType, MIXERLINEA* line) const
{
    memset(line, 0, sizeof *line);
    line->cbStruct = sizeof *line;
    line->dwComponentType = componentType;
    return mixerGetLineInfoA(reinterpret_cast<HMIXEROBJ>(m_mixer), line,
                             MIXER_GETLINEINFOF_COMPONENTTYPE | MIXER_OBJECTF_HMIXER) ==
           MMSYSERR_NOERROR;
}

bool CMixerVolume::AdoptVolumeControl(const MIXERLINEA& line)
{
    MIXERCONTROLA control = {};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    const MMRESULT result =
        mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &controls,
                              MIXER_GETLINECONTROLSF_ONEBYTYPE | MIXER_OBJECTF_HMIXER);
    if (result != MMSYSERR_NOERROR) {
        Log("WARNING: Could not get the requested Source Line Volume Control for the requested "
            "line while "
            "initilaizing. mmResult=%d\n",
            static_cast<int>(result));
        return false;
    }
    if (control.fdwControl & MIXERCONTROL_CONTROLF_DISABLED) {
        Log("WARNING: The Volume Control is disabled.\n");
        return false;
    }
    m_lineId = line.dwLineID;
    m_controlId = control.dwControlID;
    m_channels = line.cChannels ? line.cChannels : 1;
    m_min = control.Bounds.dwMinimum;
    m_max = control.Bounds.dwMaximum;
    m_steps = control.Metrics.cSteps;
    m_available = true;
    return true;
}

bool CMixerVolume::GetLineControls(const MIXERLINEA& line, std::string* raw, DWORD* count) const
{
    *count = line.cControls;
    if (line.cControls == 0)
        return false;
    raw->assign(sizeof(MIXERCONTROLA) * line.cControls, '\0');
    MIXERLINECONTROLSA controls = {};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = line.dwLineID;
    controls.cControls = line.cControls;
    controls.cbmxctrl = sizeof(MIXERCONTROLA);
    controls.pamxctrl = reinterpret_cast<MIXERCONTROLA*>(&(*raw)[0]);
    return mixerGetLineControlsA(reinterpret_cast<HMIXEROBJ>(m_mixer), &controls,
                                 MIXER_GETLINECONTROLSF_ALL | MIXER_OBJECTF_HMIXER) ==
           MMSYSERR_NOERROR;
}
