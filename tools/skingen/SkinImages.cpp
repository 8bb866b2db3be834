// The images of the skin-name table and of the skinned dialog, frame, bars
// and progress bar: captions and borders, caption buttons, the standard
// button strip, bars and backgrounds, tabs and tool images.
#include "SkinCanvas.h"
#include "SkinNames.h"
#include "SkinStyle.h"

#include <cmath>

using namespace style;

namespace {
// Caption buttons: four frames in the order normal, pressed, hover, disabled,
// drawn over the caption band so that they sit in it seamlessly. top is the
// first row of the button face inside the frame.
typedef void (*CaptionGlyph)(Canvas&, double cx, double cy, double s, Rgb c);

void GlyphClose(Canvas& c, double cx, double cy, double s, Rgb col)
{
    c.Line(cx - s, cy - s, cx + s, cy + s, col, 1.6);
    c.Line(cx - s, cy + s, cx + s, cy - s, col, 1.6);
}
void GlyphMin(Canvas& c, double cx, double cy, double s, Rgb col)
{
    c.Line(cx - s, cy + s * 0.8, cx + s, cy + s * 0.8, col, 2.0);
}
void GlyphMax(Canvas& c, double cx, double cy, double s, Rgb col)
{
    int x = (int)std::lround(cx - s), y = (int)std::lround(cy - s), w = (int)std::lround(2 * s) + 1;
    c.Frame(x, y, w, w, col);
    c.HLine(x, x + w - 1, y + 1, col);
}
void GlyphRestore(Canvas& c, double cx, double cy, double s, Rgb col)
{
    int w = (int)std::lround(1.5 * s) + 1;
    int x = (int)std::lround(cx - s), y = (int)std::lround(cy - s);
    const int backX = x + (int)(s / 2), frontY = y + (int)(s / 2);
    // The window behind: its outline where the front window leaves it
    // visible, so that the button's own face shows through in every state.
    for (int i = 0; i < w; ++i) {
        const int px[4] = {backX + i, backX + i, backX, backX + w - 1};
        const int py[4] = {y, y + w - 1, y + i, y + i};
        for (int k = 0; k < 4; ++k) {
            const bool covered =
                px[k] >= x && px[k] < x + w && py[k] >= frontY && py[k] < frontY + w;
            if (!covered)
                c.Set(px[k], py[k], col);
        }
    }
    c.Frame(x, frontY, w, w, col);
    c.HLine(x, x + w - 1, frontY + 1, col);
}

// The dialogs' caption is light (their title is drawn in the default dark
// text colour); the main window's is dark with a white title.
const Rgb kLightCaptionTop = 0xE4EEF8;
const int kMainCaptionHeight = 32;
const Rgb kLightCaptionBottom = 0xC3D6EC;

void LightCaptionBand(Canvas& c, int x, int y, int w, int h)
{
    c.GradientV(x, y, w, h, kLightCaptionTop, kLightCaptionBottom);
    c.HLine(x, x + w - 1, y, 0xFFFFFF);
    c.HLine(x, x + w - 1, y + h - 1, 0x9DB6D3);
}

// bandHeight: the height of the caption the buttons sit in (from its top);
// the strip's band is that caption's band, cut at the strip's height, so
// that the buttons show no seam against the caption behind them.
void CaptionButtonStrip(Canvas& c, int top, bool danger, CaptionGlyph glyph, bool light = false,
                        int bandHeight = 0)
{
    const int w = c.Width() / 4, h = c.Height();
    const int band = bandHeight > 0 ? bandHeight : h;
    // normal, pressed, hover, disabled
    for (int i = 0; i < 4; ++i) {
        const int x = i * w;
        if (light)
            LightCaptionBand(c, x, 0, w, band);
        else
            CaptionBand(c, x, 0, w, band);
        const int fh = h - top - 2;
        Rgb glyphColour = light && (i == 0 || (!danger && i != 1)) ? kGlyph : kGlyphLight;
        if (i == 1)
            c.RoundRectGradient(x + 1, top, w - 2, fh, 3, danger ? 0x9E3B30 : 0x2C5485,
                                danger ? 0xB84A3D : 0x3B6496, 0x24466F);
        else if (i == 2 && light && !danger)
            c.RoundRectGradient(x + 1, top, w - 2, fh, 3, 0xFFFFFF, 0xDCE8F5, kAccent);
        else if (i == 2)
            c.RoundRectGradient(x + 1, top, w - 2, fh, 3, danger ? 0xE8796B : 0x8FB1D8,
                                danger ? 0xCC5446 : 0x5C84B5, 0xC9DAEE);
        else if (i == 3)
            glyphColour = light ? 0xA9B9CB : 0x8AA3C0;
        glyph(c, x + w / 2.0, top + fh / 2.0, std::min(w, fh) * 0.22, glyphColour);
    }
}

// A vertical window border w pixels thick: darker outer line, lighter inner.
void BorderV(Canvas& c, bool left)
{
    const int w = c.Width();
    for (int i = 0; i < w; ++i) {
        int fromOuter = left ? i : w - 1 - i;
        Rgb col = fromOuter == 0 ? kCaptionEdge : Mix(kBorder, kCaptionTop, (double)fromOuter / w);
        c.VLine(i, 0, c.Height() - 1, col);
    }
}
void BorderH(Canvas& c)
{
    const int h = c.Height();
    for (int j = 0; j < h; ++j) {
        int fromOuter = h - 1 - j;
        Rgb col = fromOuter == 0 ? kCaptionEdge : Mix(kBorder, kCaptionTop, (double)fromOuter / h);
        c.HLine(0, c.Width() - 1, j, col);
    }
}

// The dialogs' borders: the light caption's colour, a darker outer line.
void LightBorder(Canvas& c, bool left, bool bottom)
{
    c.FillRect(0, 0, c.Width(), c.Height(), kLightCaptionBottom);
    if (bottom)
        c.HLine(0, c.Width() - 1, c.Height() - 1, 0x7F9CBE);
    else
        c.VLine(left ? 0 : c.Width() - 1, 0, c.Height() - 1, 0x7F9CBE);
}

// A caption band with a soft highlight in its start piece (where the title
// sits) and plain ends elsewhere.
void Caption(Canvas& c)
{
    CaptionBand(c, 0, 0, c.Width(), c.Height());
    // A small emblem left of the title (which starts at x 28).
    const double cy = 7 + 6;
    c.Ring(10, cy, 4.5, 1.6, 0xDCE9F7);
    c.Ring(16, cy, 4.5, 1.6, 0xA9C8EA);
}

// Four-state strips of the skinned buttons: normal, hover, pressed, disabled.
const Look kButtonOrder[4] = {Normal, Hover, Pressed, Disabled};

void PlainStrip(Canvas& c) { ButtonStrip(c, kButtonOrder, nullptr, 3); }

Rgb GlyphColour(Look look) { return look == Disabled ? kDisabledLine : kGlyph; }

// Tool glyphs drawn centred in a w x h cell.
typedef void (*ToolGlyph)(Canvas&, double cx, double cy, double s, Rgb col);

template <ToolGlyph G>
void GlyphAdapter(Canvas& c, int x, int y, int w, int h, Look look)
{
    const double off = look == Pressed ? 1 : 0;
    G(c, x + w / 2.0 + off, y + h / 2.0 + off, std::min(w, h) * 0.3, GlyphColour(look));
}

template <ToolGlyph G>
void ToolStrip(Canvas& c)
{
    ButtonStrip(c, kButtonOrder, GlyphAdapter<G>, 3);
}

void TArrowLeft(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x + s, y, x - s * 0.7, y, col, 1.8);
    c.Triangle(x - s, y, x - s * 0.2, y - s * 0.7, x - s * 0.2, y + s * 0.7, col);
}
void TArrowRight(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y, x + s * 0.7, y, col, 1.8);
    c.Triangle(x + s, y, x + s * 0.2, y - s * 0.7, x + s * 0.2, y + s * 0.7, col);
}
// An arc from angle a0 to a1 (radians, clockwise from 3 o'clock, y down).
void Arc(Canvas& c, double x, double y, double r, double a0, double a1, Rgb col, double width)
{
    const int steps = 24;
    for (int i = 0; i < steps; ++i) {
        double p = a0 + (a1 - a0) * i / steps, q = a0 + (a1 - a0) * (i + 1) / steps;
        c.Line(x + r * std::cos(p), y + r * std::sin(p), x + r * std::cos(q), y + r * std::sin(q),
               col, width);
    }
}
void TRefresh(Canvas& c, double x, double y, double s, Rgb col)
{
    Arc(c, x, y, s * 0.8, -1.2, 4.2, col, 1.6);
    c.Triangle(x + s * 0.05, y - s * 1.2, x + s * 0.75, y - s * 0.75, x + s * 0.05, y - s * 0.3,
               col);
}
void TCross(Canvas& c, double x, double y, double s, Rgb col) { GlyphClose(c, x, y, s * 0.7, col); }
void TCheck(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s * 0.8, y, x - s * 0.2, y + s * 0.6, col, 2.0);
    c.Line(x - s * 0.2, y + s * 0.6, x + s * 0.9, y - s * 0.7, col, 2.0);
}
void TUp(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x, y + s, x, y - s * 0.4, col, 2.0);
    c.Triangle(x, y - s, x - s * 0.8, y - s * 0.1, x + s * 0.8, y - s * 0.1, col);
    c.HLine((int)(x - s), (int)(x + s), (int)(y + s + 1), col);
}
void TDown(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x, y - s, x, y + s * 0.3, col, 2.0);
    c.Triangle(x, y + s * 0.9, x - s * 0.8, y, x + s * 0.8, y, col);
    c.HLine((int)(x - s), (int)(x + s), (int)(y + s + 1), col);
}
void TSelect(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Triangle(x - s * 0.6, y - s, x - s * 0.6, y + s * 0.6, x + s * 0.6, y + s * 0.2, col);
    c.Line(x, y + s * 0.2, x + s * 0.5, y + s, col, 1.6);
}
void TBrush(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x + s, y - s, x - s * 0.2, y + s * 0.2, col, 2.2);
    c.Disc(x - s * 0.5, y + s * 0.6, s * 0.45, kAccent);
}
void TStrongPen(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y + s, x + s, y - s, col, 3.5);
}
void TThinPen(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y + s, x + s, y - s, col, 1.2);
}
void TLine(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y + s * 0.8, x + s, y - s * 0.8, col, 1.8);
}
void TPinPen(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y + s, x + s * 0.6, y - s * 0.6, col, 2.0);
    c.Triangle(x + s * 0.5, y - s * 0.9, x + s * 1.1, y - s * 1.1, x + s * 0.9, y - s * 0.5, col);
    c.Disc(x - s, y + s, 1.2, kAccent);
}
void TSquare(Canvas& c, double x, double y, double s, Rgb col)
{
    int l = (int)std::lround(x - s), t = (int)std::lround(y - s * 0.8), w = (int)std::lround(2 * s),
        h = (int)std::lround(1.6 * s);
    c.Frame(l, t, w, h, col);
}
void TSolidSquare(Canvas& c, double x, double y, double s, Rgb col)
{
    int l = (int)std::lround(x - s), t = (int)std::lround(y - s * 0.8), w = (int)std::lround(2 * s),
        h = (int)std::lround(1.6 * s);
    c.FillRect(l, t, w, h, col == kGlyph ? kAccent : col);
}
void TSquareLine(Canvas& c, double x, double y, double s, Rgb col)
{
    int l = (int)std::lround(x - s), t = (int)std::lround(y - s * 0.8), w = (int)std::lround(2 * s),
        h = (int)std::lround(1.6 * s);
    c.Frame(l, t, w, h, col);
    c.Frame(l + 1, t + 1, w - 2, h - 2, col);
}
void TSolidSquareLine(Canvas& c, double x, double y, double s, Rgb col)
{
    int l = (int)std::lround(x - s), t = (int)std::lround(y - s * 0.8), w = (int)std::lround(2 * s),
        h = (int)std::lround(1.6 * s);
    c.FillRect(l, t, w, h, col == kGlyph ? kAccent : col);
    c.Frame(l, t, w, h, col);
}
void TRound(Canvas& c, double x, double y, double s, Rgb col) { c.Ring(x, y, s, 1.4, col); }
void TSolidRound(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Disc(x, y, s, col == kGlyph ? kAccent : col);
    c.Ring(x, y, s, 1.2, col);
}
void TEdit(Canvas& c, double x, double y, double s, Rgb col)
{
    // A capital T for text.
    c.Line(x - s, y - s, x + s, y - s, col, 2.0);
    c.Line(x, y - s, x, y + s, col, 2.0);
}
void TPoly(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y + s, x - s * 0.3, y - s, col, 1.4);
    c.Line(x - s * 0.3, y - s, x + s, y - s * 0.2, col, 1.4);
    c.Line(x + s, y - s * 0.2, x + s * 0.2, y + s, col, 1.4);
    c.Line(x + s * 0.2, y + s, x - s, y + s, col, 1.4);
}
void THand(Canvas& c, double x, double y, double s, Rgb col)
{
    for (int i = 0; i < 4; ++i)
        c.Line(x - s * 0.6 + i * s * 0.4, y - s * (i == 0 || i == 3 ? 0.6 : 1.0),
               x - s * 0.6 + i * s * 0.4, y, col, 1.4);
    c.RoundRect((int)(x - s * 0.8), (int)y - 1, (int)(s * 1.8), (int)(s * 1.1), 3, col, col);
}
void TFont(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y + s, x, y - s, col, 1.8);
    c.Line(x, y - s, x + s, y + s, col, 1.8);
    c.Line(x - s * 0.5, y + s * 0.2, x + s * 0.5, y + s * 0.2, col, 1.6);
}
void TShare(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Disc(x - s * 0.7, y, s * 0.35, col);
    c.Disc(x + s * 0.7, y - s * 0.7, s * 0.35, col);
    c.Disc(x + s * 0.7, y + s * 0.7, s * 0.35, col);
    c.Line(x - s * 0.7, y, x + s * 0.7, y - s * 0.7, col, 1.2);
    c.Line(x - s * 0.7, y, x + s * 0.7, y + s * 0.7, col, 1.2);
}
void TSave(Canvas& c, double x, double y, double s, Rgb col)
{
    int l = (int)(x - s), t = (int)(y - s), w = (int)(2 * s) + 1;
    c.Frame(l, t, w, w, col);
    c.FillRect(l + 2, t, w - 4, w / 3, col);
    c.Frame(l + 2, t + w / 2, w - 4, w / 2 - 1, col);
}
void TOpen(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y + s * 0.8, x - s, y - s * 0.6, col, 1.4);
    c.Line(x - s, y - s * 0.6, x - s * 0.2, y - s * 0.6, col, 1.4);
    c.Line(x - s, y + s * 0.8, x + s * 0.6, y + s * 0.8, col, 1.4);
    c.Line(x - s * 0.6, y - s * 0.1, x + s, y - s * 0.1, col, 1.4);
    c.Line(x + s, y - s * 0.1, x + s * 0.6, y + s * 0.8, col, 1.4);
}
void TGoto(Canvas& c, double x, double y, double s, Rgb col)
{
    TArrowRight(c, x, y, s, col);
    c.VLine((int)(x + s + 1), (int)(y - s), (int)(y + s), col);
}
void TFile(Canvas& c, double x, double y, double s, Rgb col)
{
    int l = (int)(x - s * 0.8), t = (int)(y - s), w = (int)(1.6 * s) + 1, h = (int)(2 * s) + 1;
    c.Frame(l, t, w, h, col);
    for (int i = 1; i <= 3; ++i)
        c.HLine(l + 2, l + w - 3, t + i * h / 4, col);
}
void TPlay(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Triangle(x - s * 0.6, y - s, x - s * 0.6, y + s, x + s, y, col);
}
void TBig(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Line(x - s, y - s, x - s * 0.2, y - s * 0.2, col, 1.4);
    c.Line(x - s, y - s, x - s * 0.3, y - s, col, 1.4);
    c.Line(x - s, y - s, x - s, y - s * 0.3, col, 1.4);
    c.Line(x + s, y + s, x + s * 0.2, y + s * 0.2, col, 1.4);
    c.Line(x + s, y + s, x + s * 0.3, y + s, col, 1.4);
    c.Line(x + s, y + s, x + s, y + s * 0.3, col, 1.4);
}
void TControl(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Ring(x, y, s * 0.55, 1.8, col);
    for (int i = 0; i < 8; ++i) {
        double a = i * 3.14159265 / 4;
        c.Line(x + std::cos(a) * s * 0.6, y + std::sin(a) * s * 0.6, x + std::cos(a) * s,
               y + std::sin(a) * s, col, 1.6);
    }
}
void TMic(Canvas& c, double x, double y, double s, Rgb col)
{
    c.RoundRect((int)(x - s * 0.4), (int)(y - s), (int)(s * 0.8) + 1, (int)(s * 1.3), 3, col, col);
    Arc(c, x, y - s * 0.1, s * 0.7, 0.0, 3.14159265, col, 1.2);
    c.VLine((int)x, (int)(y + s * 0.6), (int)(y + s), col);
    c.HLine((int)(x - s * 0.4), (int)(x + s * 0.4), (int)(y + s), col);
}
void TSound(Canvas& c, double x, double y, double s, Rgb col)
{
    c.FillRect((int)(x - s), (int)(y - s * 0.35), (int)(s * 0.5) + 1, (int)(s * 0.7) + 1, col);
    c.Triangle(x - s * 0.6, y - s * 0.35, x, y - s, x, y + s, col);
    c.Triangle(x - s * 0.6, y + s * 0.35, x - s * 0.6, y - s * 0.35, x, y + s, col);
    c.Line(x + s * 0.35, y - s * 0.4, x + s * 0.35, y + s * 0.4, col, 1.2);
    c.Line(x + s * 0.75, y - s * 0.75, x + s * 0.75, y + s * 0.75, col, 1.2);
}

// The previous/next/close buttons of the small strips.
void TPrev(Canvas& c, double x, double y, double s, Rgb col)
{
    c.Triangle(x + s * 0.6, y - s, x + s * 0.6, y + s, x - s * 0.8, y, col);
}
void TNext(Canvas& c, double x, double y, double s, Rgb col) { TPlay(c, x, y, s, col); }

// A flat band for bars and backgrounds.
void Band(Canvas& c, Rgb top, Rgb bottom) { c.GradientV(0, 0, c.Width(), c.Height(), top, bottom); }
void BandLined(Canvas& c, Rgb top, Rgb bottom, Rgb line)
{
    Band(c, top, bottom);
    c.HLine(0, c.Width() - 1, c.Height() - 1, line);
}
// A tab: rounded top corners, a flat bottom.
void Tab(Canvas& c, Rgb top, Rgb bottom, Rgb border)
{
    c.FillRect(0, 0, c.Width(), c.Height(), 0xFFFFFF);
    c.RoundRectGradient(0, 0, c.Width(), c.Height() + 6, 5, top, bottom, border);
}
// The slider thumb strip: four round thumbs side by side in the order
// normal, pressed, mouse-over, disabled.
void ThumbStrip(Canvas& c)
{
    c.FillRect(0, 0, c.Width(), c.Height(), kDialogBack);
    const int w = c.Width() / 4;
    const Rgb rims[4] = {0x35608F, 0x24466F, kAccent, kDisabledLine};
    const Rgb faces[4] = {0xF4F8FC, 0xC9DBEF, 0xFFFFFF, kDisabledFace};
    const Rgb cores[4] = {kAccent, 0x2A5F9C, 0x5CA8F0, kDisabledLine};
    for (int i = 0; i < 4; ++i) {
        const double cx = i * w + w / 2.0, cy = c.Height() / 2.0;
        const double r = std::min(w, c.Height()) / 2.0 - 0.5;
        c.Disc(cx, cy, r, rims[i]);
        c.Disc(cx, cy - 0.3, r - 1.1, faces[i]);
        c.Disc(cx, cy, r - 2.8, cores[i]);
    }
}
// A slider or progress channel: a rounded groove.
void Channel(Canvas& c, Rgb top, Rgb bottom, Rgb border)
{
    c.FillRect(0, 0, c.Width(), c.Height(), kDialogBack);
    const int h = c.Height();
    const int gh = std::max(3, h / 2);
    c.RoundRectGradient(0, (h - gh) / 2, c.Width(), gh, gh / 2, top, bottom, border);
}

const SkinImages images({
    // Standard button strip: four 24 x 23 faces (start 6, end 10 along x).
    {SKIN_STANDARD_BUTTON, 96, 23, PlainStrip},
    // Skinned dialog: caption 30 high (edges 60, 70), caption buttons of
    // 20 x 30 frames whose face lies in rows 5 to 29, borders 4 / 5 / 4.
    {SKIN_TOP, 130, 30, [](Canvas& c) { LightCaptionBand(c, 0, 0, c.Width(), c.Height()); }},
    {SKIN_SS, 80, 30, [](Canvas& c) { CaptionButtonStrip(c, 6, false, GlyphMin, true); }},
    {SKIN_CLOSESD, 80, 30, [](Canvas& c) { CaptionButtonStrip(c, 6, false, GlyphMax, true); }},
    {SKIN_S_BTN, 80, 30, [](Canvas& c) { CaptionButtonStrip(c, 6, false, GlyphRestore, true); }},
    {SKIN_CLOSES, 80, 30, [](Canvas& c) { CaptionButtonStrip(c, 6, true, GlyphClose, true); }},
    {SKIN_BORDER2, 4, 30, [](Canvas& c) { LightBorder(c, true, false); }},
    {SKIN_BORDER3, 5, 30, [](Canvas& c) { LightBorder(c, false, false); }},
    {SKIN_BORDER1, 30, 4, [](Canvas& c) { LightBorder(c, false, true); }},
    {SKIN_SMALL_VIDEO_BKGND, 176, 144,
     [](Canvas& c) {
         c.GradientV(0, 0, c.Width(), c.Height(), 0x2B3A4C, 0x18222E);
         TControl(c, c.Width() / 2.0, c.Height() / 2.0, 14, 0x3E5068);
     }},
    {SKIN_BAR0, 30, 24, [](Canvas& c) { BandLined(c, 0xF4F8FC, 0xD6E3F1, kFrameLine); }},
    {SKIN_RIGHT_BAR_BK0, 30, 30, [](Canvas& c) { Band(c, 0xE6EEF7, 0xD2DFEE); }},
    // Skinned frame: caption 32 high (edges 60, 70), the title box 24 high
    // (edges 50, 100), caption buttons of 20 x 26 at the caption's top (their
    // band is the caption's), borders 4 / 5 / 4.
    {SKIN_MAIN_TOP, 130, kMainCaptionHeight, Caption},
    {SKIN_MAIN_TITLE, 150, 24, [](Canvas& c) { CaptionBand(c, 0, 0, c.Width(), c.Height()); }},
    {SKIN_MIN_BUTTON, 80, 26,
     [](Canvas& c) { CaptionButtonStrip(c, 3, false, GlyphMin, false, kMainCaptionHeight); }},
    {SKIN_MAX_BUTTON, 80, 26,
     [](Canvas& c) { CaptionButtonStrip(c, 3, false, GlyphMax, false, kMainCaptionHeight); }},
    {SKIN_RESTORE_BUTTON, 80, 26,
     [](Canvas& c) { CaptionButtonStrip(c, 3, false, GlyphRestore, false, kMainCaptionHeight); }},
    {SKIN_MAIN_CLOSE_BTN, 80, 26,
     [](Canvas& c) { CaptionButtonStrip(c, 3, true, GlyphClose, false, kMainCaptionHeight); }},
    {SKIN_MAIN_BORDER_LEFT, 4, 90, [](Canvas& c) { BorderV(c, true); }},
    {SKIN_MAIN_BORDER_RIGHT, 5, 90, [](Canvas& c) { BorderV(c, false); }},
    {SKIN_MAIN_BORDER_BOTTOM, 80, 4, BorderH},
    {SKIN_DBSTATUS_BAR_BKGND, 40, 22,
     [](Canvas& c) {
         Band(c, 0xE9F0F8, 0xD3E0EE);
         c.HLine(0, c.Width() - 1, 0, kFrameLine);
         c.HLine(0, c.Width() - 1, 1, 0xFFFFFF);
     }},
    {SKIN_DLG_CHAT_SEND_BTN, 240, 24, PlainStrip},
    {SKIN_CHAT_BOTTOM_BAR, 20, 28, [](Canvas& c) { BandLined(c, 0xF2F6FB, 0xDCE6F2, kFrameLine); }},
    {SKIN_BTN0, 96, 23, PlainStrip},
    {SKIN_BTN1, 96, 23,
     [](Canvas& c) {
         const Look order[4] = {Pressed, Hover, Pressed, Disabled};
         ButtonStrip(c, order, nullptr, 3);
     }},
    // Slider of 72 x 10: channels 10 high (edges 10, 20), so that the level
    // blocks fit inside; a thumb strip of four 10 x 10 states.
    {SKIN_SLIDER_THUMB, 40, 10, ThumbStrip},
    {SKIN_SLIDER_CHANNEL_LEFT, 30, 10, [](Canvas& c) { Channel(c, 0x5C9BE0, 0x2F74C2, 0x2A5F9C); }},
    {SKIN_SLIDERL_CHANNEL_RIGHT, 30, 10,
     [](Canvas& c) { Channel(c, 0xDCE3EA, 0xF6F8FA, 0x9AABBC); }},
    // Progress bar: background and bar, edges 10 and 20, as high as the
    // left pane's level meters (the control takes the image's height).
    {SKIN_PROGRESS_CTRL_LEFT, 30, 6,
     [](Canvas& c) {
         c.FillRect(0, 0, c.Width(), c.Height(), 0xFFFFFF);
         c.GradientV(1, 1, c.Width() - 2, c.Height() - 2, 0xE4EAF0, 0xFAFCFD);
         c.Frame(0, 0, c.Width(), c.Height(), kFrameLine);
     }},
    {SKIN_DBPROGRESS_CTRL, 30, 6,
     [](Canvas& c) {
         c.GradientV(0, 0, c.Width(), c.Height(), 0x8CC4F2, 0x2F7FCC);
         c.HLine(0, c.Width() - 1, 1, 0xC4E2FA);
         c.Frame(0, 0, c.Width(), c.Height(), 0x2A65A5);
     }},
    {SKIN_MIC, 96, 22, ToolStrip<TMic>},
    {SKIN_SOUND, 96, 22, ToolStrip<TSound>},
    // Tabs of the left pane: normal and selected, edges 5 and 20.
    {SKIN_CTRL_BTN0, 40, 22, [](Canvas& c) { Tab(c, 0xF5F8FB, 0xDDE5EE, 0xA9B9CA); }},
    {SKIN_CTRL_BTN1, 40, 22, [](Canvas& c) { Tab(c, 0xFFFFFF, 0xEFF5FB, kAccent); }},
    {SKIN_MENU_BK, 32, 26, [](Canvas& c) { Band(c, 0xF3F7FB, 0xDDE7F2); }},
    {SKIN_MENU_BUTTON, 96, 24, PlainStrip},
    {SKIN_CTRL_BTNS, 40, 24, [](Canvas& c) { Tab(c, 0xF5F8FB, 0xDDE5EE, 0xA9B9CA); }},
    {SKIN_CTRL_BTNSS, 40, 24, [](Canvas& c) { Tab(c, 0xFFFFFF, 0xEFF5FB, kAccent); }},
    {SKIN_CTRL_BTN2D, 40, 24, [](Canvas& c) { Tab(c, 0xEEF0F2, 0xE2E5E8, kDisabledLine); }},
    {SKIN_TAB_CTRL_BOTTOM, 30, 6, [](Canvas& c) { BandLined(c, 0xEFF5FB, 0xD8E4F0, kFrameLine); }},
    {SKIN_HEADER_BKGND, 40, 24, [](Canvas& c) { BandLined(c, 0xFBFCFE, 0xE1E9F2, kFrameLine); }},
    // Pattern for tool bars (tiled whole).
    {SKIN_SS_BKGND, 16, 32, [](Canvas& c) { Band(c, 0xF4F8FC, 0xDCE6F1); }},
    {SKIN_LBOTTOM_BKGND, 30, 28, [](Canvas& c) { BandLined(c, 0xEAF1F8, 0xD5E1EE, kFrameLine); }},
    {SKIN_SCROLL1, 32, 16, PlainStrip},
    {SKIN_SCROLL2, 16, 30,
     [](Canvas& c) { c.GradientH(0, 0, c.Width(), c.Height(), 0xE9EEF3, 0xF7F9FB); }},
    {SKIN_HLEFT, 30, 24, [](Canvas& c) { Tab(c, 0xF5F8FB, 0xDDE5EE, 0xA9B9CA); }},
    {SKIN_LEFT_SEL, 30, 24, [](Canvas& c) { Tab(c, 0xFFFFFF, 0xEFF5FB, kAccent); }},
    {SKIN_BTN_RIGHT, 96, 22, ToolStrip<TArrowRight>},
    {SKIN_HSEL, 30, 24, [](Canvas& c) { Band(c, 0xD5E6F8, 0xBCD4EF); }},
    {SKIN_HPPER, 30, 24, [](Canvas& c) { Band(c, 0xF6F9FC, 0xE4ECF4); }},
    {SKIN_SD, 30, 24, [](Canvas& c) { Band(c, 0xF6F9FC, 0xE4ECF4); }},
    {SKIN_BODYD_SEL, 30, 24, [](Canvas& c) { Band(c, 0xD5E6F8, 0xBCD4EF); }},
    {SKIN_S_DOWN, 64, 16, ToolStrip<TDown>},
    {SKIN_F_SEL, 30, 24, [](Canvas& c) { Band(c, 0xD5E6F8, 0xBCD4EF); }},
    {SKIN_SDFP, 30, 24, [](Canvas& c) { Band(c, 0xF6F9FC, 0xE4ECF4); }},
    {SKIN_WWP_SEL, 30, 24, [](Canvas& c) { Band(c, 0xD5E6F8, 0xBCD4EF); }},
    {SKIN_WERIPPER, 30, 24, [](Canvas& c) { Band(c, 0xF6F9FC, 0xE4ECF4); }},
    // System notice: background, its close button and the message band.
    {SKIN_DLG_SYS_INFO_TIP_BKGND, 200, 120,
     [](Canvas& c) {
         c.FillRect(0, 0, c.Width(), c.Height(), 0xF7FAFD);
         CaptionBand(c, 0, 0, c.Width(), 22);
         c.Frame(0, 0, c.Width(), c.Height(), kBorder);
     }},
    {SKIN_INFO_CLOSE_BTN, 64, 16, [](Canvas& c) { CaptionButtonStrip(c, 1, true, GlyphClose); }},
    {SKIN_DLG_SYS_INFO_MSG, 200, 24,
     [](Canvas& c) { BandLined(c, 0xFFFFFF, 0xEEF4FA, kFrameLine); }},
    // Tab strip of the sharing window: current and other tab (edges 5, 15).
    {SKIN_ACTIVE, 20, 24, [](Canvas& c) { Tab(c, 0xFFFFFF, 0xEFF5FB, kAccent); }},
    {SKIN_WL_BTN_INDFGIVE, 20, 24, [](Canvas& c) { Tab(c, 0xF5F8FB, 0xDDE5EE, 0xA9B9CA); }},
    {SKIN_WER_BKGND, 16, 28, [](Canvas& c) { Band(c, 0xEDF3F9, 0xD9E4F0); }},
    // Close, previous and next of that strip: four 22 x 17 faces, the
    // buttons' own size, so that nothing is tiled.
    {SKIN_EEL_BTN_CLOW, 88, 17, ToolStrip<TCross>},
    {SKIN_WER_TAWERN_PREV, 88, 17, ToolStrip<TPrev>},
    {SKIN_SDFXT, 88, 17, ToolStrip<TNext>},
    {SKIN_ABOUT, 360, 220,
     [](Canvas& c) {
         c.GradientV(0, 0, c.Width(), c.Height(), 0x5F89BB, 0xEAF1F8);
         c.Ring(150, 80, 34, 7, 0xFFFFFF);
         c.Ring(205, 80, 34, 7, 0xC6DBF2);
     }},
    {SKIN_WB_BTN_CHECK, 96, 24, ToolStrip<TCheck>},
    {SKIN_WBTOPBAR, 30, 30, [](Canvas& c) { BandLined(c, 0xF4F8FC, 0xDCE6F1, kFrameLine); }},
    {SKIN_WBLEFTBAR, 36, 30,
     [](Canvas& c) { c.GradientH(0, 0, c.Width(), c.Height(), 0xDCE6F1, 0xF4F8FC); }},
    // Video window parts.
    {SKIN_VIDEO_TOP_BAR, 30, 20, [](Canvas& c) { CaptionBand(c, 0, 0, c.Width(), c.Height()); }},
    {SKIN_VIDEO_NAME, 60, 20, [](Canvas& c) { CaptionBand(c, 0, 0, c.Width(), c.Height()); }},
    {SKIN_VIDEO_CLOSE, 64, 16, [](Canvas& c) { CaptionButtonStrip(c, 1, true, GlyphClose); }},
    {SKIN_VIDEO_CLOSE_ME, 64, 16, [](Canvas& c) { CaptionButtonStrip(c, 1, true, GlyphClose); }},
    {SKIN_VIDEO_BIG, 64, 16, [](Canvas& c) { CaptionButtonStrip(c, 1, false, TBig); }},
    {SKIN_VIDEO_CONTROL, 64, 16, [](Canvas& c) { CaptionButtonStrip(c, 1, false, TControl); }},
    {SKIN_BTN_CHECK, 96, 22, ToolStrip<TCheck>},
    {SKIN_BTN_UPFILE, 96, 22, ToolStrip<TUp>},
    {SKIN_BTN_DOWNFILE, 96, 22, ToolStrip<TDown>},
    // Whiteboard tools: four 24 x 24 states each.
    {SKIN_WB_SEL, 96, 24, ToolStrip<TSelect>},
    {SKIN_WB_BRUSH, 96, 24, ToolStrip<TBrush>},
    {SKIN_WB_STRONG_PEN, 96, 24, ToolStrip<TStrongPen>},
    {SKIN_WB_THIN_PEN, 96, 24, ToolStrip<TThinPen>},
    {SKIN_WB_LINE, 96, 24, ToolStrip<TLine>},
    {SKIN_WB_PIN_PEN, 96, 24, ToolStrip<TPinPen>},
    {SKIN_WB_SQUA, 96, 24, ToolStrip<TSquare>},
    {SKIN_WB_SOLID_SQUA, 96, 24, ToolStrip<TSolidSquare>},
    {SKIN_WB_SQUA_LIN, 96, 24, ToolStrip<TSquareLine>},
    {SKIN_WB_SOLID_SQUA_LIN, 96, 24, ToolStrip<TSolidSquareLine>},
    {SKIN_WB_ROUND, 96, 24, ToolStrip<TRound>},
    {SKIN_WB_SOLID_ROUND, 96, 24, ToolStrip<TSolidRound>},
    {SKIN_WB_EDIT, 96, 24, ToolStrip<TEdit>},
    {SKIN_WB_POLY, 96, 24, ToolStrip<TPoly>},
    {SKIN_HAND, 96, 24, ToolStrip<THand>},
    {SKIN_WB_FONT, 96, 24, ToolStrip<TFont>},
    {SKIN_WB_SHARE, 96, 24, ToolStrip<TShare>},
    {SKIN_WB_SAVE, 96, 24, ToolStrip<TSave>},
    {SKIN_WB_PRE, 96, 24, ToolStrip<TPrev>},
    {SKIN_WB_OPEN, 96, 24, ToolStrip<TOpen>},
    {SKIN_WB_NEXT, 96, 24, ToolStrip<TNext>},
    {SKIN_WB_GOTO, 96, 24, ToolStrip<TGoto>},
    {SKIN_WB_FILE, 96, 24, ToolStrip<TFile>},
    // The arrow bar beside the main window's tab strip: its background
    // (edges 10 and 20 along y) and its button, four 5 x 15 states.
    {"Skins\\f.bmp", 5, 40,
     [](Canvas& c) { c.GradientH(0, 0, c.Width(), c.Height(), 0xDCE6F1, 0xF4F8FC); }},
    {"Skins\\arrowhead.bmp", 20, 15, ToolStrip<TPrev>},
    // Browser buttons of co-browsing.
    {SKIN_BUTTON_BACK, 96, 24, ToolStrip<TArrowLeft>},
    {SKIN_BUTTON_FORE, 96, 24, ToolStrip<TArrowRight>},
    {SKIN_BUTTON_REFRESH, 96, 24, ToolStrip<TRefresh>},
    {SKIN_BUTTON_CANCEL, 96, 24, ToolStrip<TCross>},
    {SKIN_BUTTON_GO, 96, 24, ToolStrip<TGoto>},
});
} // namespace
