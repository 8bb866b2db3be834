#include "CVideoLayout.h"

namespace {
RECT Rect(int l, int t, int r, int b)
{
    RECT rc = {l, t, r, b};
    return rc;
}
} // namespace

CVideoLayout::Result CVideoLayout::Compute(int split, int width, int height, int activeCount)
{
    Result out;
    if (activeCount < 0)
        activeCount = 0;
    if (activeCount > MAX_WINDOWS)
        activeCount = MAX_WINDOWS;
    // The main window names the 13-cell layout with a marker above the low
    // byte; the layout is the low byte's.
    if (split > 255)
        split &= 0xFF;
    if (split < 1)
        Strip(out, width, height, activeCount);
    else if (split == 4 || split == 9 || split == 16 || split == 25)
        Grid(out,
             split == 4    ? 2
             : split == 9  ? 3
             : split == 16 ? 4
                           : 5,
             width, height, activeCount);
    else if (split == 8)
        Eight(out, width, height, activeCount);
    else if (split == 6 || split == 10 || split == 12)
        Thirteen(out, width, height, activeCount);
    return out;
}

void CVideoLayout::Strip(Result& out, int width, int height, int activeCount)
{
    int cell = 10 + (int)(0.75 * width);
    if (cell <= 0)
        return;
    int i = 0;
    for (; i < activeCount; ++i) {
        Cell c = {Rect(0, i * cell, width, (i + 1) * cell), (i + 1) * cell <= height};
        out.active.push_back(c);
    }
    for (int free = MAX_WINDOWS - activeCount; free > 0 && (i + 1) * cell <= height; ++i, --free)
        out.empty.push_back(Rect(0, i * cell, width, (i + 1) * cell));
}

void CVideoLayout::Grid(Result& out, int n, int width, int height, int activeCount)
{
    int cw = width / n, ch = height / n;
    for (int i = 0; i < n * n; ++i) {
        int col = i % n, row = i / n;
        RECT rc = Rect(col * cw, row * ch, col == n - 1 ? width : (col + 1) * cw,
                       row == n - 1 ? height : (row + 1) * ch);
        if (i < activeCount) {
            Cell c = {rc, true};
            out.active.push_back(c);
        } else {
            out.empty.push_back(rc);
        }
    }
}

void CVideoLayout::Eight(Result& out, int width, int height, int activeCount)
{
    int w6 = width / 6;
    int small = (int)(0.75 * w6);
    int count = activeCount > 8 ? activeCount : 8;
    for (int i = 0; i < count; ++i) {
        RECT rc;
        if (i == 0)
            rc = Rect(0, 0, 3 * w6, height - small);
        else if (i == 1)
            rc = Rect(3 * w6, 0, width, height - small);
        else
            // The ninth and later windows continue the bottom row past the
            // pane's right edge.
            rc = Rect((i - 2) * w6, height - small, i == 7 ? width : (i - 1) * w6, height);
        if (i < activeCount) {
            Cell c = {rc, true};
            out.active.push_back(c);
        } else {
            out.empty.push_back(rc);
        }
    }
}

void CVideoLayout::Thirteen(Result& out, int width, int height, int activeCount)
{
    int cw = width / 4, ch = height / 4;
    std::vector<RECT> cells;
    cells.push_back(Rect(cw, ch, 3 * cw, 3 * ch));
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            if (!((row == 1 || row == 2) && (col == 1 || col == 2)))
                cells.push_back(Rect(col * cw, row * ch, (col + 1) * cw, (row + 1) * ch));
    for (size_t i = 0; i < cells.size(); ++i) {
        if ((int)i < activeCount) {
            Cell c = {cells[i], true};
            out.active.push_back(c);
        } else {
            out.empty.push_back(cells[i]);
        }
    }
}
