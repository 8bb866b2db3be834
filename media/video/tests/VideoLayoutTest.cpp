#include <gtest/gtest.h>

#include "CVideoLayout.h"

namespace {
struct R
{
    int l, t, r, b;
};
bool Same(const RECT& a, const R& b)
{
    return a.left == b.l && a.top == b.t && a.right == b.r && a.bottom == b.b;
}
std::string Text(const RECT& a)
{
    return std::to_string(a.left) + "," + std::to_string(a.top) + "," + std::to_string(a.right) +
           "," + std::to_string(a.bottom);
}

struct LayoutCase
{
    const char* name;
    int split, width, height, active;
    std::vector<R> activeRects;
    std::vector<bool> visible;
    std::vector<R> emptyRects;
};

const LayoutCase kCases[] = {
    // Strip: cell height 10 + 0.75 * 200 = 160; a 500-high pane fits three.
    {"strip fit",
     0,
     200,
     500,
     4,
     {{0, 0, 200, 160}, {0, 160, 200, 320}, {0, 320, 200, 480}, {0, 480, 200, 640}},
     {true, true, true, false},
     {}},
    {"strip fills free cells",
     -1,
     200,
     500,
     1,
     {{0, 0, 200, 160}},
     {true},
     {{0, 160, 200, 320}, {0, 320, 200, 480}}},
    // Split 9 with 3 active: 6 empty cells; the last column and row reach the edges.
    {"split 9 with 3",
     9,
     301,
     302,
     3,
     {{0, 0, 100, 100}, {100, 0, 200, 100}, {200, 0, 301, 100}},
     {true, true, true},
     {{0, 100, 100, 200},
      {100, 100, 200, 200},
      {200, 100, 301, 200},
      {0, 200, 100, 302},
      {100, 200, 200, 302},
      {200, 200, 301, 302}}},
    {"split 4 full",
     4,
     400,
     300,
     4,
     {{0, 0, 200, 150}, {200, 0, 400, 150}, {0, 150, 200, 300}, {200, 150, 400, 300}},
     {true, true, true, true},
     {}},
    // Split 8: w6 = 100, small height 75; the ninth continues past the right edge.
    {"split 8 with 9",
     8,
     605,
     400,
     9,
     {{0, 0, 300, 325},
      {300, 0, 605, 325},
      {0, 325, 100, 400},
      {100, 325, 200, 400},
      {200, 325, 300, 400},
      {300, 325, 400, 400},
      {400, 325, 500, 400},
      {500, 325, 605, 400},
      {600, 325, 700, 400}},
     {true, true, true, true, true, true, true, true, true},
     {}},
    // Split 6: 4 x 4 cells of 100 x 80; the first window takes the middle.
    {"split 6",
     6,
     400,
     320,
     3,
     {{100, 80, 300, 240}, {0, 0, 100, 80}, {100, 0, 200, 80}},
     {true, true, true},
     {{200, 0, 300, 80},
      {300, 0, 400, 80},
      {0, 80, 100, 160},
      {300, 80, 400, 160},
      {0, 160, 100, 240},
      {300, 160, 400, 240},
      {0, 240, 100, 320},
      {100, 240, 200, 320},
      {200, 240, 300, 320},
      {300, 240, 400, 320}}},
    {"split 7 places nothing", 7, 400, 300, 3, {}, {}, {}},
};
} // namespace

TEST(VideoLayout, PlacesWindowsPerSplit)
{
    for (const LayoutCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CVideoLayout::Result out = CVideoLayout::Compute(c.split, c.width, c.height, c.active);
        ASSERT_EQ(c.activeRects.size(), out.active.size());
        for (size_t i = 0; i < out.active.size(); ++i) {
            EXPECT_TRUE(Same(out.active[i].rect, c.activeRects[i]))
                << i << ": " << Text(out.active[i].rect);
            EXPECT_EQ(c.visible[i], out.active[i].visible) << i;
        }
        ASSERT_EQ(c.emptyRects.size(), out.empty.size());
        for (size_t i = 0; i < out.empty.size(); ++i)
            EXPECT_TRUE(Same(out.empty[i], c.emptyRects[i])) << i << ": " << Text(out.empty[i]);
    }
}

TEST(VideoLayout, MarkedThirteenCellSplitUsesItsLowByte)
{
    CVideoLayout::Result marked = CVideoLayout::Compute(262, 400, 320, 2);
    CVideoLayout::Result plain = CVideoLayout::Compute(6, 400, 320, 2);
    ASSERT_EQ(2u, marked.active.size());
    EXPECT_TRUE(
        Same(marked.active[0].rect, {plain.active[0].rect.left, plain.active[0].rect.top,
                                     plain.active[0].rect.right, plain.active[0].rect.bottom}));
}
