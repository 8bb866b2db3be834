// The images of the meeting panes' resource script: the participant row's
// background, the role, meeting-control, speech and video marks, and the
// strip of the five window-mode pictures. Their names start with "res\\";
// they go into the resource folder of the build.
#include "SkinCanvas.h"
#include "SkinStyle.h"

namespace {
const Rgb kMask = 0xC0C0C0;

void RowBackground(Canvas& c)
{
    c.GradientV(0, 0, c.Width(), c.Height(), 0xFFFFFF, 0xEAF2FB);
    c.HLine(0, c.Width() - 1, c.Height() - 1, 0xD5E1EE);
}

// A round mark of one colour with a lighter centre: the row's small images.
std::function<void(Canvas&)> Mark(Rgb colour)
{
    return [colour](Canvas& c) {
        c.FillRect(0, 0, c.Width(), c.Height(), 0xFFFFFF);
        const double r = c.Width() / 2.0 - 1.5;
        c.Disc(c.Width() / 2.0, c.Height() / 2.0, r, colour);
        c.Disc(c.Width() / 2.0 - 1, c.Height() / 2.0 - 1, r / 3, Mix(colour, 0xFFFFFF, 0.6));
    };
}

// Five window-mode pictures of 113 x 85 side by side: one to five video
// rectangles on the mask colour.
void WindowModes(Canvas& c)
{
    c.FillRect(0, 0, c.Width(), c.Height(), kMask);
    for (int mode = 0; mode < 5; ++mode) {
        const int x0 = mode * 113 + 6;
        const int cells = mode + 1;
        const int w = (101 - (cells - 1) * 3) / cells;
        for (int i = 0; i < cells; ++i)
            c.RoundRect(x0 + i * (w + 3), 10, w, 65, 2, 0x3A6EA5, 0x1F3F66);
    }
}

const SkinImages images({
    {"res\\UserRow.bmp", 188, 22, RowBackground},
    {"res\\RoleHost.bmp", 16, 16, Mark(0xD04020)},
    {"res\\Role2.bmp", 16, 16, Mark(0x2F7FD0)},
    {"res\\Role4.bmp", 16, 16, Mark(0x8A8A8A)},
    {"res\\RoleOther.bmp", 16, 16, Mark(0x40A040)},
    {"res\\ControlAsked.bmp", 14, 14, Mark(0xF0B030)},
    {"res\\ControlHeld.bmp", 14, 14, Mark(0xE07010)},
    {"res\\SpeakAsked.bmp", 14, 14, Mark(0x70C0F0)},
    {"res\\Speaking.bmp", 14, 14, Mark(0x1080E0)},
    {"res\\VideoBroadcast.bmp", 14, 14, Mark(0xC02060)},
    {"res\\VideoPresent.bmp", 14, 14, Mark(0x60A060)},
    {"res\\WindowModes.bmp", 5 * 113, 85, WindowModes},
});
} // namespace
