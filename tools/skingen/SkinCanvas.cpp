#include "SkinCanvas.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

Rgb Mix(Rgb a, Rgb b, double t)
{
    t = std::min(1.0, std::max(0.0, t));
    auto ch = [&](int shift) {
        double va = (a >> shift) & 255, vb = (b >> shift) & 255;
        return (int)std::lround(va + (vb - va) * t);
    };
    return MakeRgb(ch(16), ch(8), ch(0));
}

Canvas::Canvas(int width, int height, Rgb fill)
    : m_width(width), m_height(height), m_pixels((size_t)std::max(0, width * height), fill)
{}

Rgb Canvas::Get(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return 0;
    return m_pixels[(size_t)y * m_width + x];
}

void Canvas::Set(int x, int y, Rgb c)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_pixels[(size_t)y * m_width + x] = c;
}

void Canvas::Blend(int x, int y, Rgb c, double a)
{
    if (a <= 0)
        return;
    Set(x, y, Mix(Get(x, y), c, a));
}

void Canvas::FillRect(int x, int y, int w, int h, Rgb c)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            Set(i, j, c);
}

void Canvas::Frame(int x, int y, int w, int h, Rgb c)
{
    if (w <= 0 || h <= 0)
        return;
    HLine(x, x + w - 1, y, c);
    HLine(x, x + w - 1, y + h - 1, c);
    VLine(x, y, y + h - 1, c);
    VLine(x + w - 1, y, y + h - 1, c);
}

void Canvas::GradientV(int x, int y, int w, int h, Rgb top, Rgb bottom)
{
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            Set(x + i, y + j, Mix(top, bottom, h > 1 ? (double)j / (h - 1) : 0));
}

void Canvas::GradientH(int x, int y, int w, int h, Rgb left, Rgb right)
{
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            Set(x + i, y + j, Mix(left, right, w > 1 ? (double)i / (w - 1) : 0));
}

void Canvas::HLine(int x0, int x1, int y, Rgb c)
{
    for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
        Set(x, y, c);
}

void Canvas::VLine(int x, int y0, int y1, Rgb c)
{
    for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
        Set(x, y, c);
}

namespace {
double SegmentDistance(double px, double py, double x0, double y0, double x1, double y1)
{
    double dx = x1 - x0, dy = y1 - y0;
    double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - x0) * dx + (py - y0) * dy) / len2 : 0;
    t = std::min(1.0, std::max(0.0, t));
    double qx = x0 + t * dx - px, qy = y0 + t * dy - py;
    return std::sqrt(qx * qx + qy * qy);
}
} // namespace

void Canvas::Line(double x0, double y0, double x1, double y1, Rgb c, double width)
{
    int minx = (int)std::floor(std::min(x0, x1) - width),
        maxx = (int)std::ceil(std::max(x0, x1) + width);
    int miny = (int)std::floor(std::min(y0, y1) - width),
        maxy = (int)std::ceil(std::max(y0, y1) + width);
    for (int y = miny; y <= maxy; ++y)
        for (int x = minx; x <= maxx; ++x) {
            double d = SegmentDistance(x + 0.5, y + 0.5, x0, y0, x1, y1);
            Blend(x, y, c, std::min(1.0, width / 2 + 0.5 - d));
        }
}

void Canvas::Disc(double cx, double cy, double r, Rgb c)
{
    for (int y = (int)(cy - r - 1); y <= (int)(cy + r + 1); ++y)
        for (int x = (int)(cx - r - 1); x <= (int)(cx + r + 1); ++x) {
            double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
            Blend(x, y, c, std::min(1.0, r + 0.5 - d));
        }
}

void Canvas::Ring(double cx, double cy, double r, double width, Rgb c)
{
    for (int y = (int)(cy - r - width - 1); y <= (int)(cy + r + width + 1); ++y)
        for (int x = (int)(cx - r - width - 1); x <= (int)(cx + r + width + 1); ++x) {
            double d = std::fabs(std::hypot(x + 0.5 - cx, y + 0.5 - cy) - r);
            Blend(x, y, c, std::min(1.0, width / 2 + 0.5 - d));
        }
}

namespace {
// Coverage of pixel (x, y) by a rounded rectangle, 0..1.
double RoundCoverage(int x, int y, int rx, int ry, int w, int h, int radius, double inset)
{
    double px = x + 0.5, py = y + 0.5;
    double l = rx + inset, t = ry + inset, r = rx + w - inset, b = ry + h - inset;
    double rad = std::max(0.0, radius - inset);
    double cx = std::min(std::max(px, l + rad), r - rad);
    double cy = std::min(std::max(py, t + rad), b - rad);
    double d = std::hypot(px - cx, py - cy);
    if (rad <= 0)
        return (px > l && px < r && py > t && py < b) ? 1.0 : 0.0;
    return std::min(1.0, std::max(0.0, rad + 0.5 - d));
}
} // namespace

void Canvas::RoundRect(int x, int y, int w, int h, int radius, Rgb fill, Rgb border)
{
    RoundRectGradient(x, y, w, h, radius, fill, fill, border);
}

void Canvas::RoundRectGradient(int x, int y, int w, int h, int radius, Rgb top, Rgb bottom,
                               Rgb border)
{
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            double outer = RoundCoverage(i, j, x, y, w, h, radius, 0);
            double inner = RoundCoverage(i, j, x, y, w, h, radius, 1);
            Rgb fill = Mix(top, bottom, h > 1 ? (double)(j - y) / (h - 1) : 0);
            Blend(i, j, border, outer);
            Blend(i, j, fill, inner);
        }
}

void Canvas::Triangle(double x0, double y0, double x1, double y1, double x2, double y2, Rgb c)
{
    int minx = (int)std::floor(std::min({x0, x1, x2})),
        maxx = (int)std::ceil(std::max({x0, x1, x2}));
    int miny = (int)std::floor(std::min({y0, y1, y2})),
        maxy = (int)std::ceil(std::max({y0, y1, y2}));
    auto edge = [](double ax, double ay, double bx, double by, double px, double py) {
        return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
    };
    double area = edge(x0, y0, x1, y1, x2, y2);
    if (area == 0)
        return;
    for (int y = miny; y <= maxy; ++y)
        for (int x = minx; x <= maxx; ++x) {
            // 4 x 4 samples per pixel for soft edges.
            int inside = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                    double a = edge(x0, y0, x1, y1, px, py) / area;
                    double b = edge(x1, y1, x2, y2, px, py) / area;
                    double g = edge(x2, y2, x0, y0, px, py) / area;
                    if (a >= 0 && b >= 0 && g >= 0)
                        ++inside;
                }
            Blend(x, y, c, inside / 16.0);
        }
}

void Canvas::Paste(const Canvas& src, int x, int y)
{
    for (int j = 0; j < src.Height(); ++j)
        for (int i = 0; i < src.Width(); ++i)
            Set(x + i, y + j, src.Get(i, j));
}

bool Canvas::WriteBmp(const std::string& path) const
{
    const int stride = (m_width * 3 + 3) & ~3;
    const uint32_t imageSize = (uint32_t)stride * m_height;
    unsigned char header[54] = {};
    auto put16 = [&](int at, uint32_t v) {
        header[at] = v & 255;
        header[at + 1] = (v >> 8) & 255;
    };
    auto put32 = [&](int at, uint32_t v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    header[0] = 'B';
    header[1] = 'M';
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, (uint32_t)m_width);
    put32(22, (uint32_t)m_height);
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    put32(38, 2835);
    put32(42, 2835);
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(header, 1, sizeof(header), f) == sizeof(header);
    std::vector<unsigned char> row((size_t)stride, 0);
    for (int y = m_height - 1; y >= 0 && ok; --y) // bottom-up rows
    {
        for (int x = 0; x < m_width; ++x) {
            Rgb c = m_pixels[(size_t)y * m_width + x];
            row[x * 3] = c & 255;
            row[x * 3 + 1] = (c >> 8) & 255;
            row[x * 3 + 2] = (c >> 16) & 255;
        }
        ok = std::fwrite(row.data(), 1, row.size(), f) == row.size();
    }
    return std::fclose(f) == 0 && ok;
}

SkinImages::SkinImages(std::vector<SkinImage> images)
{
    for (auto& image : images)
        All().push_back(std::move(image));
}

std::vector<SkinImage>& SkinImages::All()
{
    static std::vector<SkinImage> all;
    return all;
}

bool WriteCursor(const SkinCursor& cursor, const std::string& path)
{
    const int size = 32;
    const int stride = 4; // 32 one-bit pixels a row
    if ((int)cursor.rows.size() > size || cursor.hotX < 0 || cursor.hotX >= size ||
        cursor.hotY < 0 || cursor.hotY >= size)
        return false;
    std::vector<unsigned char> xorBits(stride * size, 0), andBits(stride * size, 0xFF);
    for (int y = 0; y < (int)cursor.rows.size(); ++y) {
        const std::string& row = cursor.rows[y];
        if ((int)row.size() > size)
            return false;
        const int line = size - 1 - y; // bottom-up
        for (int x = 0; x < (int)row.size(); ++x) {
            const unsigned char bit = (unsigned char)(0x80 >> (x & 7));
            switch (row[x]) {
            case '.':
                break;
            case '#':
                andBits[line * stride + x / 8] &= (unsigned char)~bit;
                break;
            case 'o':
                andBits[line * stride + x / 8] &= (unsigned char)~bit;
                xorBits[line * stride + x / 8] |= bit;
                break;
            default:
                return false;
            }
        }
    }
    std::vector<unsigned char> out;
    auto put8 = [&](uint32_t v) { out.push_back((unsigned char)v); };
    auto put16 = [&](uint32_t v) {
        put8(v & 255);
        put8((v >> 8) & 255);
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const uint32_t imageBytes = 40 + 8 + (uint32_t)(xorBits.size() + andBits.size());
    // Directory: reserved, type 2 (cursor), one image.
    put16(0);
    put16(2);
    put16(1);
    // The entry: size, no palette count, hot spot, bytes and offset.
    put8(size);
    put8(size);
    put8(0);
    put8(0);
    put16((uint32_t)cursor.hotX);
    put16((uint32_t)cursor.hotY);
    put32(imageBytes);
    put32(6 + 16);
    // The image: a one-bit bitmap of twice the height (colour bits over the mask).
    put32(40);
    put32(size);
    put32(size * 2);
    put16(1);
    put16(1);
    put32(0);
    put32((uint32_t)(xorBits.size() + andBits.size()));
    put32(0);
    put32(0);
    put32(2);
    put32(0);
    put32(0x000000); // black
    put32(0xFFFFFF); // white
    out.insert(out.end(), xorBits.begin(), xorBits.end());
    out.insert(out.end(), andBits.begin(), andBits.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

SkinCursors::SkinCursors(std::vector<SkinCursor> cursors)
{
    for (auto& cursor : cursors)
        All().push_back(std::move(cursor));
}

std::vector<SkinCursor>& SkinCursors::All()
{
    static std::vector<SkinCursor> all;
    return all;
}

bool WriteIcon(const Canvas& canvas, const std::string& path)
{
    const int size = canvas.Width();
    if (size <= 0 || size > 64 || canvas.Height() != size)
        return false;
    const int maskStride = ((size + 31) / 32) * 4;
    std::vector<unsigned char> colour, mask(maskStride * size, 0);
    for (int line = 0; line < size; ++line) {
        const int y = size - 1 - line; // bottom-up
        for (int x = 0; x < size; ++x) {
            const Rgb c = canvas.Get(x, y);
            const bool clear = c == kIconTransparent;
            colour.push_back(clear ? 0 : (unsigned char)(c & 255));
            colour.push_back(clear ? 0 : (unsigned char)((c >> 8) & 255));
            colour.push_back(clear ? 0 : (unsigned char)((c >> 16) & 255));
            colour.push_back(clear ? 0 : 255);
            if (clear)
                mask[line * maskStride + x / 8] |= (unsigned char)(0x80 >> (x & 7));
        }
    }
    std::vector<unsigned char> out;
    auto put8 = [&](uint32_t v) { out.push_back((unsigned char)v); };
    auto put16 = [&](uint32_t v) {
        put8(v & 255);
        put8((v >> 8) & 255);
    };
    auto put32 = [&](uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const uint32_t imageBytes = 40 + (uint32_t)(colour.size() + mask.size());
    // Directory: reserved, type 1 (icon), one image.
    put16(0);
    put16(1);
    put16(1);
    // The entry: size, no palette, planes 1, 32 bits, bytes and offset.
    put8((uint32_t)(size & 255));
    put8((uint32_t)(size & 255));
    put8(0);
    put8(0);
    put16(1);
    put16(32);
    put32(imageBytes);
    put32(6 + 16);
    // The image: colour pixels over the mask, hence twice the height.
    put32(40);
    put32((uint32_t)size);
    put32((uint32_t)size * 2);
    put16(1);
    put16(32);
    put32(0);
    put32((uint32_t)(colour.size() + mask.size()));
    put32(0);
    put32(0);
    put32(0);
    put32(0);
    out.insert(out.end(), colour.begin(), colour.end());
    out.insert(out.end(), mask.begin(), mask.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
    return std::fclose(f) == 0 && ok;
}

SkinIcons::SkinIcons(std::vector<SkinIcon> icons)
{
    for (auto& icon : icons)
        All().push_back(std::move(icon));
}

std::vector<SkinIcon>& SkinIcons::All()
{
    static std::vector<SkinIcon> all;
    return all;
}
