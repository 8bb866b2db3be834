#pragma once

// The audio manager's functions the left pane calls, through the table the
// start-up bound; a function not bound is left out (reads give 0).
class CPaneAudio
{
public:
    static void SetSendAudio(bool on);
    static void SetAec(bool on);
    // The microphone level, 0 to 100.
    static int GetInputLevel();
    // The playback level, read as a percentage.
    static int GetPlayEnergy();
};
