#pragma once
#include <map>
#include <string>
#include <vector>

#include "IMixerApi.h"

using namespace SonvexDevice;

// A sound card's mixer for the volume controls: a recording destination with
// a microphone and a line input and a selector between them, and speakers
// with volume and mute. Every change, by the library or by the "user",
// posts MM_MIXM_CONTROL_CHANGE to the window given at open, as a real mixer
// does.
class FakeMixerApi : public IMixerApi
{
public:
    enum ControlId {
        MIC_VOLUME = 1,
        LINE_VOLUME = 2,
        SELECTOR = 3,
        SPEAKER_VOLUME = 4,
        SPEAKER_MUTE = 5
    };

    FakeMixerApi();

    UINT devices = 1;
    bool withSelector = true;
    MMRESULT openResult = MMSYSERR_NOERROR;
    std::map<DWORD, std::vector<DWORD>> values; // control id -> value per item
    int sets = 0;
    int opens = 0;
    std::vector<UINT> openedIds; // the device number of each open
    int closes = 0;

    // A change made outside the library (another program, the user).
    void UserSet(DWORD control, const std::vector<DWORD>& value);

    UINT GetNumDevs() override { return devices; }
    MMRESULT Open(HMIXER* mixer, UINT id, DWORD_PTR callback, DWORD_PTR instance,
                  DWORD flags) override;
    MMRESULT Close(HMIXER mixer) override;
    MMRESULT GetDevCaps(UINT_PTR id, MIXERCAPSA* caps) override;
    MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags) override;
    MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags) override;
    MMRESULT GetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) override;
    MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) override;

private:
    struct Line
    {
        DWORD id, destination, source, componentType, connections;
        std::string name;
    };
    struct Control
    {
        DWORD id, line, type, items;
        DWORD minimum, maximum;
        std::string name;
    };
    std::vector<Line> m_lines;
    std::vector<Control> m_controls;
    std::vector<HWND> m_windows;
    void Fill(const Line& line, MIXERLINEA* out) const;
    void Fill(const Control& control, MIXERCONTROLA* out) const;
    void Notify(DWORD control);
    const Control* FindControl(DWORD id) const;
};
