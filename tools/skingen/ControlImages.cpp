// The images the controls load by their own file names (outside the
// skin-name table): the bitmap tab strip of the login and remote-settings
// dialogs and the vote result bars.
#include "SkinCanvas.h"
#include "SkinStyle.h"

using namespace style;

namespace {
// A tab of the bitmap tab strip: rounded top corners over the strip's
// light background, open at the bottom (edges 5 and 30 along x).
void StripTab(Canvas& c, Rgb top, Rgb bottom, Rgb border)
{
    c.FillRect(0, 0, c.Width(), c.Height(), 0xEFEFEF);
    c.RoundRectGradient(0, 0, c.Width(), c.Height() + 6, 5, top, bottom, border);
}

// A vertical result bar (edges 10 and 20 along y): a rounded cap at the top,
// a plain middle and a flat foot.
void ResultBar(Canvas& c)
{
    c.FillRect(0, 0, c.Width(), c.Height(), 0xFFFFFF);
    c.GradientH(0, 0, c.Width(), c.Height(), 0x8CC4F2, 0x2F7FCC);
    c.VLine(0, 0, c.Height() - 1, 0x2A65A5);
    c.VLine(c.Width() - 1, 0, c.Height() - 1, 0x2A65A5);
    c.HLine(0, c.Width() - 1, 0, 0x2A65A5);
    c.HLine(1, c.Width() - 2, 1, 0xC4E2FA);
    c.HLine(0, c.Width() - 1, c.Height() - 1, 0x2A65A5);
}

const SkinImages images({
    {"skins\\L0.bmp", 40, 24, [](Canvas& c) { StripTab(c, 0xF5F8FB, 0xDDE5EE, 0xA9B9CA); }},
    {"Skins\\L1.bmp", 40, 24, [](Canvas& c) { StripTab(c, 0xFFFFFF, 0xEFF5FB, kAccent); }},
    {"skins\\myvh.bmp", 30, 30, ResultBar},
});
} // namespace
