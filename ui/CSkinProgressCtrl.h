#pragma once
#include "CSkinBitmap.h"

#include "afxcmn.h"

// A progress bar drawn from two skin bitmaps (background and bar) or,
// without them, as a level bar of green, yellow and red blocks.
class CSkinProgressCtrl : public CProgressCtrl
{
public:
    // Loads both files as horizontal skin bitmaps (edges 10 and 20) when
    // background is not null.
    void SetBitmaps(LPCTSTR background, LPCTSTR bar);

    // The filled width for a position in a range over a given width: the
    // share of the range from its lower bound, never outside 0..width; 0
    // for an empty or reversed range.
    static int FillWidth(int lower, int upper, int pos, int width);

    static constexpr COLORREF FRAME_COLOUR = 0xBD9E7B;
    static constexpr COLORREF GREEN = 0x40FF00;
    static constexpr COLORREF YELLOW = 0x80FFFF;
    static constexpr COLORREF RED = 0x1E1EFF;

protected:
    void PreSubclassWindow() override;
    void FitToBackground();
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    CSkinBitmap m_bar;
    CSkinBitmap m_background;
};
