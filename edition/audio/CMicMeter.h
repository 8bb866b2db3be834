#pragma once

class CSkinSlider;

// The left pane's microphone level in this edition: RavoTM's capture level
// painted as the filled part of the microphone volume slider, on the scale
// of the pane's microphone progress control (which itself stays put).
class CMicMeter
{
public:
    // The slider level, 0 to 100, for a capture level in percent on the
    // range lower..upper; a reading at or past the top shows full.
    static int SliderLevel(int captureLevel, int lower, int upper);
    // Sets the slider's level and has it painted again.
    static void Paint(CSkinSlider& slider, int captureLevel, int lower, int upper);
};
