#pragma once
// The skin image generator: a small host program run by the build that
// draws every skin bitmap the programs load and writes it as a plain 24-bit
// BMP file. Each source file of this folder adds its images to one table
// through SkinImages; SkinGen.cpp writes them all.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Colours are written as 0xRRGGBB.
typedef uint32_t Rgb;

inline Rgb MakeRgb(int r, int g, int b)
{
    return (Rgb)(((r & 255) << 16) | ((g & 255) << 8) | (b & 255));
}
// a + (b - a) * t, per channel, t in [0, 1].
Rgb Mix(Rgb a, Rgb b, double t);

class Canvas
{
public:
    Canvas(int width, int height, Rgb fill = 0xFFFFFF);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    Rgb Get(int x, int y) const;
    void Set(int x, int y, Rgb c);
    // Blends c over the pixel with coverage a in [0, 1].
    void Blend(int x, int y, Rgb c, double a);

    void FillRect(int x, int y, int w, int h, Rgb c);
    void Frame(int x, int y, int w, int h, Rgb c);
    // Top-to-bottom and left-to-right gradients over a rectangle.
    void GradientV(int x, int y, int w, int h, Rgb top, Rgb bottom);
    void GradientH(int x, int y, int w, int h, Rgb left, Rgb right);
    void HLine(int x0, int x1, int y, Rgb c);
    void VLine(int x, int y0, int y1, Rgb c);
    // An anti-aliased line of the given width.
    void Line(double x0, double y0, double x1, double y1, Rgb c, double width = 1.0);
    // Anti-aliased discs and rings.
    void Disc(double cx, double cy, double r, Rgb c);
    void Ring(double cx, double cy, double r, double width, Rgb c);
    // A filled rounded rectangle with a one-pixel border (border == fill for none).
    void RoundRect(int x, int y, int w, int h, int radius, Rgb fill, Rgb border);
    void RoundRectGradient(int x, int y, int w, int h, int radius, Rgb top, Rgb bottom, Rgb border);
    // A filled triangle.
    void Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb c);
    // Copies another canvas in at (x, y).
    void Paste(const Canvas& src, int x, int y);

    bool WriteBmp(const std::string& path) const;

private:
    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;
};

struct SkinImage
{
    std::string name; // as the programs load it, e.g. "Skins\\top.bmp"
    int width;
    int height;
    std::function<void(Canvas&)> draw;
};

// The table of images, filled by static objects of every source file.
class SkinImages
{
public:
    explicit SkinImages(std::vector<SkinImage> images);
    static std::vector<SkinImage>& All();
};

// A cursor drawn as text, one string per row of a 32 x 32 cursor: '.' is
// transparent, '#' black and 'o' white; rows and columns left out are
// transparent. The hot spot is (hotX, hotY).
struct SkinCursor
{
    std::string name; // e.g. "res\\hand.cur"
    int hotX;
    int hotY;
    std::vector<std::string> rows;
};

// Writes the cursor as a monochrome .cur file; false when a row holds
// another character, the cursor is larger than 32 x 32 or the file cannot
// be written.
bool WriteCursor(const SkinCursor& cursor, const std::string& path);

// The table of cursors, filled like the table of images.
class SkinCursors
{
public:
    explicit SkinCursors(std::vector<SkinCursor> cursors);
    static std::vector<SkinCursor>& All();
};

// A colour icon drawn on a canvas; pixels of the key colour are transparent.
struct SkinIcon
{
    std::string name; // e.g. "res\\wbstamp.ico"
    int size;         // width and height, at most 64
    std::function<void(Canvas&)> draw;
};

const Rgb kIconTransparent = 0xFF00FF;

// Writes the canvas as a one-image .ico file of 32-bit pixels with its mask;
// false when the canvas is not square, too large, or cannot be written.
bool WriteIcon(const Canvas& canvas, const std::string& path);

// The table of icons, filled like the table of images.
class SkinIcons
{
public:
    explicit SkinIcons(std::vector<SkinIcon> icons);
    static std::vector<SkinIcon>& All();
};
