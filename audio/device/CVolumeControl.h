#pragma once
#include "CVolumeIn.h"
#include "CVolumeOut.h"

namespace SonvexDevice {

// One capture-side and one speaker-side volume control, for the echo
// canceller's automatic microphone volume.
class CVolumeControl
{
public:
    struct VALUES
    {
        int current;
        int minimum;
        int maximum;
        int steps;
        int mute; // output side only
    };

    explicit CVolumeControl(IMixerApi& mixer = IMixerApi::System());
    virtual ~CVolumeControl();

    CVolumeControl(const CVolumeControl&) = delete;
    CVolumeControl& operator=(const CVolumeControl&) = delete;

    int OpenCapture(int device);
    int OpenSpeaker();
    void CloseCapture() { m_in.Close(); }

    // Output line: 0 speakers, 1 wave out, 2 synthesizer, 3 telephone,
    // 4 analog, 5 digital, 6 microphone, 7 line, 8 compact disc.
    void SetOutputLine(int choice) { m_outputLine = choice; }
    void SetPlayDevice(int device) { m_playDevice = device; }
    static DWORD ComponentTypeFor(int choice);

    CVolumeIn& In() { return m_in; }
    CVolumeOut& Out() { return m_out; }
    const VALUES& InValues() const { return m_inValues; }
    const VALUES& OutValues() const { return m_outValues; }
    int CaptureDevice() const { return m_captureDevice; }

private:
    static void IgnoreVolume(DWORD, DWORD, void*) {}
    static void IgnoreMute(DWORD, void*) {}
    static void IgnoreSource(CVolumeIn*, int, void*) {}

    CVolumeIn m_in;
    CVolumeOut m_out;
    int m_outputLine = 0;
    VALUES m_outValues = {-1, -1, -1, -1, 0};
    VALUES m_inValues = {-1, -1, -1, -1, 0};
    int m_inSource = -1;
    int m_captureDevice = -1;
    int m_playDevice = -1;
};

} // namespace SonvexDevice
