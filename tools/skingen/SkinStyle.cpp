#include "SkinStyle.h"

namespace style {
void ButtonFace(Canvas& c, int x, int y, int w, int h, Look look, int radius)
{
    switch (look) {
    case Normal:
        c.RoundRectGradient(x, y, w, h, radius, kFaceTop, kFaceBottom, kFrameLine);
        break;
    case Hover:
        c.RoundRectGradient(x, y, w, h, radius, kHoverTop, kHoverBottom, kAccent);
        break;
    case Pressed:
        c.RoundRectGradient(x, y, w, h, radius, kPressedTop, kPressedBottom, 0x35608F);
        break;
    case Disabled:
        c.RoundRect(x, y, w, h, radius, kDisabledFace, kDisabledLine);
        break;
    }
}

void ButtonStrip(Canvas& c, const Look order[4], GlyphFn glyph, int radius)
{
    const int w = c.Width() / 4, h = c.Height();
    for (int i = 0; i < 4; ++i) {
        ButtonFace(c, i * w, 0, w, h, order[i], radius);
        if (glyph)
            glyph(c, i * w, 0, w, h, order[i]);
    }
}

void CaptionBand(Canvas& c, int x, int y, int w, int h)
{
    c.GradientV(x, y, w, h, kCaptionTop, kCaptionBottom);
    c.HLine(x, x + w - 1, y, kCaptionLine);
    c.HLine(x, x + w - 1, y + h - 1, kCaptionEdge);
}
} // namespace style
