#include "CMicMeter.h"

#include "CSkinSlider.h"

int CMicMeter::SliderLevel(int captureLevel, int lower, int upper)
{
    const int value = lower + static_cast<int>((upper - lower) * captureLevel * 0.01);
    if (value <= 0)
        return 0;
    return value >= 100 ? 100 : value;
}

void CMicMeter::Paint(CSkinSlider& slider, int captureLevel, int lower, int upper)
{
    slider.m_nLevel = SliderLevel(captureLevel, lower, upper);
    if (slider.GetSafeHwnd())
        slider.Invalidate(TRUE);
}
