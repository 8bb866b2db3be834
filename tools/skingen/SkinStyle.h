#pragma once
// The shared look of every skin image: one calm palette of blue-greys on a
// light background, soft gradients and one-pixel borders.
#include "SkinCanvas.h"

namespace style {
// Colours as 0xRRGGBB.
const Rgb kCaptionTop = 0x6F95C2;
const Rgb kCaptionBottom = 0x41699A;
const Rgb kCaptionLine = 0x9DBBDD; // light line along the caption's top
const Rgb kCaptionEdge = 0x2F5482; // dark line along its bottom
const Rgb kBorder = 0x466E9F;      // window borders
const Rgb kDialogBack = 0xEFF5FA;  // dialogs' background (the controls' 0xFAF5EF)
const Rgb kFrameLine = 0x7B9EBD;   // control frames (the controls' 0xBD9E7B)
const Rgb kFaceTop = 0xFDFEFF;
const Rgb kFaceBottom = 0xDCE7F3;
const Rgb kHoverTop = 0xFFFFFF;
const Rgb kHoverBottom = 0xC8DCF2;
const Rgb kPressedTop = 0xB9CFE8;
const Rgb kPressedBottom = 0xDCE8F5;
const Rgb kDisabledFace = 0xE9EDF1;
const Rgb kDisabledLine = 0xB4BEC8;
const Rgb kGlyph = 0x2D4A6E;
const Rgb kGlyphLight = 0xFFFFFF;
const Rgb kAccent = 0x3C8DDC;
const Rgb kClose = 0xD2584A;
const Rgb kGreen = 0x4CAF50;

// The face of a button in one of its looks.
enum Look { Normal, Hover, Pressed, Disabled };
// A rounded button face filling (x, y, w, h).
void ButtonFace(Canvas& c, int x, int y, int w, int h, Look look, int radius = 3);
// A strip of four faces side by side, each w x h, in the given order, with
// glyph(c, x, y, w, h, look) drawn over each.
typedef void (*GlyphFn)(Canvas&, int, int, int, int, Look);
void ButtonStrip(Canvas& c, const Look order[4], GlyphFn glyph, int radius = 3);
// A caption-style band (blue gradient with a light top and dark bottom line).
void CaptionBand(Canvas& c, int x, int y, int w, int h);
} // namespace style
