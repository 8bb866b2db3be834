#include "CArrowObj.h"
#include "CEllipseObj.h"
#include "CIconObj.h"
#include "CLineObj.h"
#include "CPenObj.h"
#include "CPencilObj.h"
#include "CPolyObj.h"
#include "CRectObj.h"
#include "CRectfillObj.h"
#include "CTextObj.h"
#include "WbTestHelpers.h"

#include <gtest/gtest.h>

TEST(WbGeometry, RectangleHandlesHitsAndCursors)
{
    CRectObj r(1);
    r.SetRect(CRect(10, 20, 110, 81));
    const POINT* p = r.GetPoints();
    ASSERT_EQ(r.GetPointCount(), 8u);
    const POINT expected[8] = {{10, 20},  {60, 20}, {110, 20}, {110, 50},
                               {110, 81}, {60, 81}, {10, 81},  {10, 50}};
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(p[i].x == expected[i].x && p[i].y == expected[i].y) << i;

    struct HitRow
    {
        POINT pt;
        int handle;
    };
    const HitRow hits[] = {
        {{5, 15}, 0},   // (x-5, y-5): inside
        {{15, 20}, -1}, // (x+5, y): the right edge is out
        {{14, 24}, 0},  {{60, 16}, 1}, {{110, 81}, 4}, {{200, 200}, -1},
    };
    for (const HitRow& h : hits)
        EXPECT_EQ(r.HitHandle(h.pt), h.handle) << h.pt.x << "," << h.pt.y;

    const int cursors[8] = {4, 2, 5, 3, 4, 2, 5, 3};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(r.GetHandleCursor(i), cursors[i]) << i;
    EXPECT_EQ(r.GetHandleCursor(8), 0);
    EXPECT_EQ(r.GetHandleCursor(-1), 0);

    // handle 7 dragged 150 to the right turns the rectangle inside out
    r.MoveHandle(7, CSize(150, 0));
    EXPECT_EQ(r.GetPoints()[0].x, 160);
    EXPECT_EQ(r.GetPoints()[4].x, 110);
    EXPECT_EQ(r.GetPoints()[1].x, 135);
    EXPECT_EQ(r.GetHandleCursor(0), 5) << "corners swap their diagonals";
    CRect bound;
    r.GetBoundRect(&bound);
    EXPECT_EQ(bound, CRect(109, 19, 161, 82));
    EXPECT_TRUE(r.ContainsPoint(CPoint(130, 50)));
    EXPECT_FALSE(r.ContainsPoint(CPoint(161, 50))) << "the right edge is out";

    // a text's font follows its height
    CTextObj t(2);
    t.SetFont(WbTestFont());
    t.SetRect(CRect(0, 0, 50, 20));
    t.MoveHandle(5, CSize(0, 30));
    LOGFONT lf;
    t.GetFont(&lf);
    EXPECT_EQ(lf.lfHeight, 50);

    // an icon never offers a handle
    CIconObj icon(3);
    icon.SetIcon(136, CPoint(0, 0));
    EXPECT_EQ(icon.HitHandle(CPoint(0, 0)), -1);
    EXPECT_EQ(icon.GetHandleCursor(0), 0);
}

TEST(WbGeometry, CreationByMouse)
{
    // a filled rectangle dragged from bottom-right to top-left ends normalised
    CRectfillObj fill(1);
    EXPECT_EQ(fill.OnMouseMove(CPoint(1, 1)), -1) << "not creating";
    EXPECT_EQ(fill.OnLButtonDown(CPoint(100, 90)), 0);
    EXPECT_EQ(fill.OnMouseMove(CPoint(40, 30)), 0);
    EXPECT_EQ(fill.OnLButtonUp(CPoint(10, 20)), 1);
    EXPECT_EQ(fill.GetPoints()[0].x, 10);
    EXPECT_EQ(fill.GetPoints()[0].y, 20);
    EXPECT_EQ(fill.GetPoints()[4].x, 100);
    EXPECT_FALSE(fill.IsCreating());
    EXPECT_EQ(fill.OnLButtonDown(CPoint(0, 0)), 0);
    EXPECT_EQ(fill.OnLButtonUp(CPoint(0, 0)), -1);

    // the pencil keeps a point only 6 units (Manhattan) from the last one
    CPencilObj pencil(2);
    EXPECT_EQ(pencil.OnLButtonDown(CPoint(0, 0)), 0);
    EXPECT_EQ(pencil.OnMouseMove(CPoint(5, 0)), 0);
    EXPECT_EQ(pencil.GetPointCount(), 1u);
    EXPECT_EQ(pencil.OnMouseMove(CPoint(3, 3)), 0);
    EXPECT_EQ(pencil.GetPointCount(), 2u);
    EXPECT_EQ(pencil.OnLButtonUp(CPoint(4, 4)), 1);
    EXPECT_EQ(pencil.GetPointCount(), 2u);
    EXPECT_EQ(pencil.GetPoints()[1].x, 4);

    // a stroke as long as a record can carry finishes itself
    CPencilObj longStroke(3);
    longStroke.OnLButtonDown(CPoint(0, 0));
    int result = 0;
    int moves = 0;
    while (result == 0 && moves < 10000)
        result = longStroke.OnMouseMove(CPoint(++moves * 6, 0));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(longStroke.GetPointCount(), WB_MAX_POINTS);
    EXPECT_LT(longStroke.Pack(NULL, 0) + 15, 24576u) << "fits one record below the split size";

    // a polygon finished after two clicks keeps two points and is a line
    CPolyObj poly(4);
    EXPECT_EQ(poly.OnLButtonDown(CPoint(0, 0)), 0);
    EXPECT_EQ(poly.OnLButtonUp(CPoint(0, 0)), 0);
    EXPECT_EQ(poly.OnLButtonDown(CPoint(100, 100)), 0);
    EXPECT_EQ(poly.OnMouseMove(CPoint(120, 0)), 0);
    EXPECT_EQ(poly.OnRButtonDown(CPoint(120, 0)), 1);
    EXPECT_EQ(poly.GetPointCount(), 2u);
    EXPECT_TRUE(poly.IntersectsRect(CRect(49, 49, 51, 51)));
    EXPECT_FALSE(poly.IntersectsRect(CRect(80, 10, 82, 12)));

    // a pen line of one click is discarded
    CPenObj pen(5);
    EXPECT_EQ(pen.OnLButtonDown(CPoint(3, 3)), 0);
    EXPECT_EQ(pen.OnRButtonDown(CPoint(3, 3)), -1);

    CTextObj text(6);
    EXPECT_EQ(text.OnLButtonDown(CPoint(1, 1)), 1);
    CIconObj icon(7);
    EXPECT_EQ(icon.OnLButtonDown(CPoint(1, 1)), 1);
    EXPECT_EQ(icon.OnRButtonDown(CPoint(1, 1)), -1);
}

TEST(WbGeometry, LinesAndStrokesAgainstRectangles)
{
    struct Row
    {
        const char* name;
        RECT rc;
        POINT a, b;
        int width;
        bool hit;
    };
    const Row rows[] = {
        {"rectangle holds the segment", {0, 0, 200, 200}, {10, 10}, {100, 150}, 1, true},
        {"far away", {300, 300, 310, 310}, {10, 10}, {100, 150}, 1, false},
        {"vertical through", {40, 50, 60, 60}, {50, 0}, {50, 100}, 1, true},
        {"on a diagonal", {48, 48, 52, 52}, {0, 0}, {100, 100}, 1, true},
        {"beside a diagonal, inside its box", {70, 10, 80, 20}, {0, 0}, {100, 100}, 1, false},
        {"steep, touched", {9, 49, 11, 51}, {0, 0}, {20, 100}, 1, true},
        {"shallow, beside", {50, 30, 52, 32}, {0, 0}, {100, 20}, 1, false},
        {"a wide pen reaches further", {50, 14, 52, 16}, {0, 0}, {100, 20}, 9, true},
        {"a thin one does not", {50, 14, 52, 16}, {0, 0}, {100, 20}, 1, false},
        {"rectangle given inside out", {52, 52, 48, 48}, {0, 0}, {100, 100}, 1, true},
    };
    for (const Row& r : rows)
        EXPECT_EQ(CDrawObj::LineHitsRect(r.rc, r.a, r.b, r.width) != FALSE, r.hit) << r.name;

    CLineObj line(1);
    line.OnLButtonDown(CPoint(0, 0));
    line.OnLButtonUp(CPoint(100, 100));
    EXPECT_TRUE(line.ContainsPoint(CPoint(50, 50)));
    EXPECT_FALSE(line.ContainsPoint(CPoint(50, 10)));

    // a stroke along a straight path encloses nothing, yet a click on it
    // hits; a closed figure is hit inside
    CPencilObj straight(2);
    straight.OnLButtonDown(CPoint(0, 0));
    straight.OnMouseMove(CPoint(10, 10));
    straight.OnMouseMove(CPoint(20, 20));
    straight.OnLButtonUp(CPoint(30, 30));
    EXPECT_TRUE(straight.IntersectsRect(CRect(19, 19, 21, 21)));
    EXPECT_FALSE(straight.IntersectsRect(CRect(25, 2, 27, 4)));
    CPolyObj triangle(3);
    triangle.OnLButtonDown(CPoint(0, 0));
    triangle.OnLButtonDown(CPoint(100, 0));
    triangle.OnLButtonDown(CPoint(0, 100));
    triangle.OnRButtonDown(CPoint(0, 100));
    EXPECT_TRUE(triangle.IntersectsRect(CRect(20, 20, 22, 22)));
    EXPECT_FALSE(triangle.IntersectsRect(CRect(80, 80, 82, 82)));
    EXPECT_TRUE(triangle.IntersectsRect(CRect(-5, -5, 200, 200)));
}

TEST(WbGeometry, UpdateRectCoversTheOldAndTheNewPlace)
{
    CRectObj r(1);
    r.SetRect(CRect(0, 0, 10, 10));
    CRect first;
    r.GetUpdateRect(&first);
    EXPECT_EQ(first, CRect(-11, -11, 21, 21));
    r.Offset(CSize(100, 0));
    CRect second;
    r.GetUpdateRect(&second);
    EXPECT_EQ(second, CRect(-11, -11, 121, 21));
    r.GetUpdateRect(&second);
    EXPECT_EQ(second, CRect(89, -11, 121, 21));
}

TEST(WbDrawing, KindsDrawScaledIntoAMemoryBitmap)
{
    const COLORREF red = RGB(255, 0, 0);
    CWbCanvas canvas(200, 200);

    // a line at 200 %: its end lands at twice its coordinates
    CLineObj line(1);
    line.SetColor(red);
    line.OnLButtonDown(CPoint(10, 10));
    line.OnLButtonUp(CPoint(40, 10));
    line.DrawScaled(canvas.DC(), 2, 1);
    EXPECT_EQ(canvas.At(20, 20), red);
    EXPECT_EQ(canvas.At(70, 20), red);
    EXPECT_NE(canvas.At(90, 20), red);

    // a filled rectangle fills; an unknown fill code draws nothing
    CRectfillObj fill(2);
    fill.SetColor(red);
    fill.SetRect(CRect(100, 100, 150, 150));
    fill.DrawScaled(canvas.DC(), 1, 1);
    EXPECT_EQ(canvas.Count(red, CRect(100, 100, 150, 150)), 2500);
    CRectfillObj invisible(3);
    invisible.SetColor(RGB(0, 0, 255));
    invisible.SetFill(9);
    invisible.SetRect(CRect(0, 150, 50, 200));
    invisible.Draw(canvas.DC());
    EXPECT_EQ(canvas.CountNotWhite(CRect(0, 150, 50, 200)), 0);

    // a hollow ellipse leaves its inside white, its rim drawn
    CEllipseObj ellipse(4);
    ellipse.SetRect(CRect(100, 0, 180, 80));
    ellipse.Draw(canvas.DC());
    EXPECT_EQ(canvas.At(140, 40), RGB(255, 255, 255));
    EXPECT_GT(canvas.CountNotWhite(CRect(100, 0, 181, 81)), 100);

    // a hollow rectangle at 50 %: four edges at half the size
    CWbCanvas half(100, 100);
    CRectObj rect(5);
    rect.SetRect(CRect(20, 20, 120, 120));
    rect.DrawScaled(half.DC(), 1, 2);
    EXPECT_EQ(half.At(10, 30), RGB(0, 0, 0));
    EXPECT_EQ(half.At(60, 30), RGB(0, 0, 0));
    EXPECT_EQ(half.At(30, 30), RGB(255, 255, 255));

    // a zero-length arrow, coordinates at the ends of the range and a zero
    // denominator draw without harm
    CWbCanvas scratch(50, 50);
    CArrowObj arrow(6);
    arrow.OnLButtonDown(CPoint(10, 10));
    arrow.OnLButtonUp(CPoint(10, 10));
    arrow.DrawScaled(scratch.DC(), 3, 2);
    CLineObj huge(7);
    huge.OnLButtonDown(CPoint(0x7FFFFFFF, -0x7FFFFFFF));
    huge.OnLButtonUp(CPoint(-0x7FFFFFFF, 0x7FFFFFFF));
    huge.DrawScaled(scratch.DC(), 400, 100);
    huge.DrawScaled(scratch.DC(), 1, 0);

    // an arrow draws its head at the end
    CWbCanvas arrowCanvas(120, 60);
    CArrowObj right(8);
    right.SetColor(red);
    right.OnLButtonDown(CPoint(10, 30));
    right.OnLButtonUp(CPoint(100, 30));
    right.Draw(arrowCanvas.DC());
    EXPECT_EQ(arrowCanvas.At(95, 31), red);
    EXPECT_EQ(arrowCanvas.At(85, 32), red) << "the head is wider than the shaft";
    EXPECT_EQ(arrowCanvas.At(50, 32), RGB(255, 255, 255));
    EXPECT_EQ(arrowCanvas.At(5, 30), RGB(255, 255, 255));
}

TEST(WbDrawing, HandlesInvertAndASecondDrawingErasesThem)
{
    CWbCanvas canvas(100, 100);
    CRectObj r(1);
    r.SetRect(CRect(20, 20, 60, 60));
    r.DrawHandles(canvas.DC());
    EXPECT_EQ(canvas.At(20, 20), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(15, 15), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(25, 25), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), CRect(0, 0, 100, 100)), 8 * 100);
    r.DrawHandles(canvas.DC());
    EXPECT_EQ(canvas.CountNotWhite(CRect(0, 0, 100, 100)), 0);
    r.DrawHandlesScaled(canvas.DC(), 2, 1);
    EXPECT_EQ(canvas.At(40, 40), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Count(RGB(0, 0, 0), CRect(0, 0, 100, 100)) > 0, true);
}
