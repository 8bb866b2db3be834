#pragma once
#include <winsock2.h>
#include <windows.h>
#include <mmsystem.h>

#include <string>

// A volume control of the system mixer. Each object opens the mixer with a
// hidden window of its own, so that the mixer's control-change messages
// reach it, and reports changes made elsewhere to its owner's callback.
// Getters give -1 and setters do nothing while no control was adopted.
class CMixerVolume
{
public:
    typedef void (*PFN_VOLUME_SINK)(DWORD value, DWORD user);

    virtual ~CMixerVolume();

    virtual bool IsAvailable() const { return m_available; }
    virtual bool Enable() = 0;
    virtual bool Disable() = 0;
    virtual int GetVolumeMetric() const;
    virtual int GetMinimalVolume() const;
    virtual int GetMaximalVolume() const;
    virtual int GetCurrentVolume() const;
    // Sets every channel; values outside minimum..maximum are ignored.
    virtual void SetCurrentVolume(DWORD value);
    virtual void RegisterNotificationSink(PFN_VOLUME_SINK sink, DWORD user);

protected:
    explicit CMixerVolume(const char* logName);

    // Opens the mixer with a hidden message window of the given class.
    bool OpenMixer(UINT mixerId, const char* className, const char* windowName);
    void CloseMixer();
    // The details of a control, one value per channel.
    bool GetControlValues(DWORD controlId, DWORD channels, DWORD* values) const;
    bool SetControlValues(DWORD controlId, DWORD channels, const DWORD* values);
    // Adopts the volume control of a line: bounds, steps, channels.
    bool AdoptVolumeControl(const MIXERLINEA& line);
    // A line's controls; empty on failure.
    bool GetLineControls(const MIXERLINEA& line, std::string* raw, DWORD* count) const;
    // Finds a destination line by component type.
    bool GetDestination(DWORD componentType, MIXERLINEA* line) const;
    virtual void OnControlChange(DWORD controlId);
    void Log(const char* format, ...) const;

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    std::string m_logName;
    bool m_opened = false;
    bool m_adopted = false;
    bool m_available = false;
    UINT m_mixerId = 0;
    HMIXER m_mixer = NULL;
    DWORD m_lineId = 0;
    DWORD m_controlId = 0;
    DWORD m_channels = 1;
    HWND m_window = NULL;
    DWORD m_min = 0;
    DWORD m_max = 0;
    DWORD m_steps = 0;
    PFN_VOLUME_SINK m_sink = nullptr;
    DWORD m_user = 0;
};
