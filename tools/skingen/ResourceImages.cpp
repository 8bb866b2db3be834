// The images, cursors and icons the controls take from the resources
// compiled into every program (not from the "Skins" folder): the hand
// cursor, the drop button strip of the flat combo box, the background of the
// skinned edit box, the background pattern of the flat header, and the
// whiteboard's cursors and stamp. Their names start with
// "res\\"; the generator writes them into the resource folder of the build,
// where the resource script finds them.
#include "SkinCanvas.h"
#include "SkinStyle.h"

#include <cmath>

using namespace style;

namespace {
// The drop button of the flat combo box: four 15 x 16 images side by side,
// normal, hot, pressed and one unused; black is transparent, so no drawn
// pixel is pure black.
void ComboButtonStrip(Canvas& c)
{
    c.FillRect(0, 0, c.Width(), c.Height(), 0x000000);
    const Look looks[4] = {Normal, Hover, Pressed, Disabled};
    for (int i = 0; i < 4; ++i) {
        const int x = i * 15;
        ButtonFace(c, x, 0, 15, 16, looks[i], 0);
        const int shift = looks[i] == Pressed ? 1 : 0;
        const Rgb glyph = looks[i] == Disabled ? kDisabledLine : kGlyph;
        // A small downward triangle, centred.
        for (int row = 0; row < 3; ++row)
            c.HLine(x + 5 + row + shift, x + 9 - row + shift, 7 + row + shift, glyph);
    }
}

// The skinned edit box's background: a soft panel with a one-pixel frame.
void EditBackground(Canvas& c)
{
    c.GradientV(0, 0, c.Width(), c.Height(), 0xFFFFFF, 0xEEF4FA);
    c.Frame(0, 0, c.Width(), c.Height(), kFrameLine);
}

// The flat header's background pattern, tiled across and stretched over
// each item: a light top-to-bottom gradient with a line along the foot.
void HeaderPattern(Canvas& c)
{
    c.GradientV(0, 0, c.Width(), c.Height(), kFaceTop, kFaceBottom);
    c.HLine(0, c.Width() - 1, c.Height() - 1, kFrameLine);
}

const SkinImages images({
    {"res\\ComboButton.bmp", 60, 16, ComboButtonStrip},
    {"res\\EditBack.bmp", 180, 24, EditBackground},
    {"res\\HeaderBack.bmp", 16, 20, HeaderPattern},
});

// The hand cursor of links and tabs; the hot spot is the tip of the
// pointing finger.
const SkinCursors cursors({
    {"res\\hand.cur",
     6,
     1,
     {
         "",
         ".....##",
         "....#oo#",
         "....#oo#",
         "....#oo#",
         "....#oo#",
         "....#oo###",
         "....#oo#oo###",
         "....#oo#oo#oo##",
         "....#oo#oo#oo#o#",
         ".##.#oooooooooo#",
         "#oo##ooooooooooo#",
         "#ooo#ooooooooooo#",
         ".#oo#ooooooooooo#",
         "..#oooooooooooo#",
         "..#oooooooooooo#",
         "...#ooooooooooo#",
         "...#oooooooooo#",
         "....#ooooooooo#",
         "....#ooooooooo#",
         ".....#oooooooo#",
         ".....##########",
     }},
    // The splitter bar's cursor: a vertical double arrow through two lines;
    // the hot spot is its centre.
    {"res\\splitv.cur",
     8,
     10,
     {
         ".......#",         "......#o#",        ".....#ooo#",       "....#ooooo#",
         "...####o####",     "......#o#",        "......#o#",        "################",
         "#oooooooooooooo#", "################", "#oooooooooooooo#", "################",
         "......#o#",        "......#o#",        "...####o####",     "....#ooooo#",
         ".....#ooo#",       "......#o#",        ".......#",
     }},
    // The whiteboard's drawing cursor (a tool chosen, or an object being
    // drawn): a cross whose hot spot is its centre.
    {"res\\wbdraw.cur",
     8,
     8,
     {
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         "ooooooo...ooooooo",
         "#######.#.#######",
         "ooooooo...ooooooo",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
         ".......o#o",
     }},
    // The whiteboard's pointer for choosing and erasing: an arrow over a
    // dotted frame; the hot spot is the arrow's tip.
    {"res\\wbselect.cur",
     0,
     0,
     {
         "#",
         "##",
         "#o#",
         "#oo#",
         "#ooo#",
         "#oooo#",
         "#ooooo#",
         "#oooooo#",
         "#ooooooo#",
         "#oooooooo#",
         "#ooooo#####",
         "#oo#oo#",
         "#o#.#oo#...o#o#o#o#o#",
         "##..#oo#...#........o",
         "#....#oo#..o........#",
         ".....#oo#..#........o",
         "......##...o........#",
         "...........#........o",
         "...........o........#",
         "...........#........o",
         "...........o#o#o#o#o#",
     }},
});

// The whiteboard's stamp: a red seal with a white tick. The disc's edge is
// hard, so that no pixel of it mixes with the transparent key colour.
void StampIcon(Canvas& c)
{
    const Rgb red = MakeRgb(204, 32, 32), dark = MakeRgb(140, 16, 16);
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
            const double dx = x + 0.5 - 16, dy = y + 0.5 - 16;
            const double d = std::sqrt(dx * dx + dy * dy);
            if (d <= 15)
                c.Set(x, y, d > 13.5 ? dark : red);
        }
    c.Ring(16, 16, 10.5, 1.2, 0xFFFFFF);
    c.Line(10.5, 16.5, 14.5, 21, 0xFFFFFF, 2.6);
    c.Line(14.5, 21, 22, 11, 0xFFFFFF, 2.6);
}

const SkinIcons icons({
    {"res\\wbstamp.ico", 32, StampIcon},
});
} // namespace
