#include <gtest/gtest.h>

#include "CMemoryDC.h"
#include "CSkinBitmap.h"
#include "SkinNames.h"

#include <string>
#include <vector>

namespace {
// A bitmap whose every column (horizontal) or row (vertical) has its own
// colour, so that a drawn strip shows which source column landed where.
HBITMAP MakeRamp(int width, int height, bool horizontal)
{
    CMemoryDC dc(width, height);
    for (int i = 0; i < (horizontal ? width : height); ++i) {
        COLORREF c = RGB(i % 256, 100 + i / 256, 50);
        if (horizontal)
            dc.FillSolidRect(i, 0, 1, height, c);
        else
            dc.FillSolidRect(0, i, width, 1, c);
    }
    // Hand the surface out: a copy of it that the caller owns.
    HDC screen = ::GetDC(NULL);
    HBITMAP copy = ::CreateCompatibleBitmap(screen, width, height);
    HDC mem = ::CreateCompatibleDC(screen);
    HGDIOBJ old = ::SelectObject(mem, copy);
    ::BitBlt(mem, 0, 0, width, height, dc.GetSafeHdc(), 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(NULL, screen);
    return copy;
}

// The source column shown at target column x of a drawn horizontal ramp;
// -1 for a pixel that is no ramp colour.
int SourceColumn(COLORREF c)
{
    if (GetBValue(c) != 50 || GetGValue(c) < 100)
        return -1;
    return GetRValue(c) + 256 * (GetGValue(c) - 100);
}

std::vector<int> DrawRow(CSkinBitmap& skin, int length)
{
    CMemoryDC target(length, 12);
    target.FillSolidRect(0, 0, length, 12, RGB(0, 0, 0));
    skin.Draw(&target, 0, 0, length, 12);
    std::vector<int> cols;
    for (int x = 0; x < length; ++x)
        cols.push_back(SourceColumn(target.GetPixel(x, 5)));
    return cols;
}
} // namespace

// A 100-pixel bitmap cut at 60 and 70: start piece 60, middle 10, end 30.
TEST(SkinBitmap, DrawsThePiecesByTargetLength)
{
    CSkinBitmap skin;
    HBITMAP ramp = MakeRamp(100, 8, true);
    skin.SetBitmap(ramp, 60, 70, TRUE);
    ASSERT_FALSE(skin.IsEmpty());
    EXPECT_EQ(100, skin.GetWidth());
    EXPECT_EQ(8, skin.GetHeight());

    struct Case
    {
        int length;
        // target column -> expected source column
        std::vector<std::pair<int, int>> expect;
    };
    const Case cases[] = {
        // Below 2 x min(60, 30): end piece at 20, start piece over the first 25.
        {50, {{0, 0}, {24, 24}, {25, 75}, {49, 99}}},
        // Between 60 and 90: start piece at 0, end piece at 50 over it.
        {80, {{0, 0}, {49, 49}, {50, 70}, {79, 99}}},
        // Long: start, the middle repeated from 60, the end at 170 last.
        {200, {{59, 59}, {60, 60}, {69, 69}, {70, 60}, {165, 65}, {169, 69}, {170, 70}, {199, 99}}},
    };
    for (const Case& c : cases) {
        std::vector<int> cols = DrawRow(skin, c.length);
        for (auto [at, source] : c.expect)
            EXPECT_EQ(source, cols[at]) << "length " << c.length << " column " << at;
    }
    ::DeleteObject(ramp); // the caller kept owning it
}

TEST(SkinBitmap, VerticalBorderStretchesAcrossOnly)
{
    CSkinBitmap skin;
    HBITMAP ramp = MakeRamp(4, 30, false);
    skin.SetBitmap(ramp, 10, 20, FALSE);
    ::DeleteObject(ramp);
    CMemoryDC target(10, 40);
    target.FillSolidRect(0, 0, 10, 40, RGB(0, 0, 0));
    skin.Draw(&target, 0, 0, 10, 40);
    // Across: every one of the 10 columns shows the source; along: unscaled.
    for (int x = 0; x < 10; ++x)
        EXPECT_EQ(RGB(5, 100, 50), target.GetPixel(x, 5)) << x;
    EXPECT_EQ(RGB(10, 100, 50), target.GetPixel(3, 10));
    EXPECT_EQ(RGB(15, 100, 50), target.GetPixel(3, 25)); // middle repeated
    EXPECT_EQ(RGB(29, 100, 50), target.GetPixel(3, 39)); // end piece
}

TEST(SkinBitmap, MissingFileFillsWithButtonFace)
{
    CSkinBitmap skin;
    EXPECT_FALSE(skin.LoadFromFile("Skins\\NoSuchSkin.bmp", 5, 10, TRUE));
    EXPECT_TRUE(skin.IsEmpty());
    CMemoryDC target(30, 10);
    target.FillSolidRect(0, 0, 30, 10, RGB(1, 2, 3));
    skin.Draw(&target, 2, 2, 20, 5);
    EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), target.GetPixel(10, 4));
    EXPECT_EQ(RGB(1, 2, 3), target.GetPixel(25, 8));
}

// Edges outside the bitmap or in the wrong order are brought into it; an
// empty middle is never tiled (it would never advance).
TEST(SkinBitmap, EdgesAreClampedAndAnEmptyMiddleIsNotTiled)
{
    struct Case
    {
        int start, end, expectStart, expectEnd;
        int at0, at150, at299; // source column shown, -1 for button face
    };
    const Case cases[] = {
        {60, 50, 60, 60, 0, -1, 99},
        {-5, 500, 0, 100, 0, 50, 99},
        {40, 40, 40, 40, 0, -1, 99},
        {120, 130, 100, 100, 0, -1, -1},
    };
    HBITMAP ramp = MakeRamp(100, 8, true);
    for (const Case& c : cases) {
        CSkinBitmap skin;
        skin.SetBitmap(ramp, c.start, c.end, TRUE);
        EXPECT_EQ(c.expectStart, skin.GetStartEdge());
        EXPECT_EQ(c.expectEnd, skin.GetEndEdge());
        std::vector<int> cols = DrawRow(skin, 300); // returns: no endless loop
        EXPECT_EQ(c.at0, cols[0]) << c.start << "," << c.end;
        EXPECT_EQ(c.at150, cols[150]) << c.start << "," << c.end;
        EXPECT_EQ(c.at299, cols[299]) << c.start << "," << c.end;
    }
    ::DeleteObject(ramp);
}

TEST(SkinBitmap, NamesTableIsRelativeToTheCurrentDirectory)
{
    int underSkins = 0;
    for (const char* name : g_SkinNames)
        underSkins += std::string(name).rfind("Skins\\", 0) == 0;
    EXPECT_EQ(SKIN_NAME_COUNT - 2, underSkins);
    EXPECT_STREQ("ProgressCtrlLeft.bmp", g_SkinNames[29]);
    EXPECT_STREQ("DBProgressCtrl.bmp", g_SkinNames[30]);
    EXPECT_STREQ("Skins\\button_go.bmp", g_SkinNames[107]);
}

// Every file of the table is drawn by the build and loads as a skin image.
TEST(SkinBitmap, GeneratedSkinFilesLoad)
{
    for (const char* name : g_SkinNames) {
        CSkinBitmap skin;
        EXPECT_TRUE(skin.LoadFromFile(name, 1, 2, TRUE)) << name;
        EXPECT_FALSE(skin.IsEmpty()) << name;
    }
    CSkinBitmap caption;
    ASSERT_TRUE(caption.LoadFromFile(SKIN_TOP, 60, 70, TRUE));
    EXPECT_GE(caption.GetHeight(), 30);
}
