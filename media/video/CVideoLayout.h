#pragma once
#include <windows.h>

#include <vector>

// Where the video wall puts its windows for a split count, as a pure
// function of the pane's size and the number of shown participants.
class CVideoLayout
{
public:
    struct Cell
    {
        RECT rect;
        bool visible;
    };
    // active[i]: the place of the i-th shown participant (not placed
    // windows are absent: active.size() may be smaller than the count);
    // empty: the places that free windows fill, shown empty.
    struct Result
    {
        std::vector<Cell> active;
        std::vector<RECT> empty;
    };

    enum { MAX_WINDOWS = 25 };

    // split below 1: the vertical strip; 4, 9, 16, 25: square grids; 8: two
    // large windows over a row of small ones; 6, 10, 12: the 13-cell layout
    // with one large window in the middle; anything else places nothing.
    static Result Compute(int split, int width, int height, int activeCount);

private:
    static void Strip(Result& out, int width, int height, int activeCount);
    static void Grid(Result& out, int n, int width, int height, int activeCount);
    static void Eight(Result& out, int width, int height, int activeCount);
    static void Thirteen(Result& out, int width, int height, int activeCount);
};
