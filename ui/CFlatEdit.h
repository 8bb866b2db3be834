#pragma once
#include "afxwin.h"

// An edit control with a flat two-pixel frame: one pixel in the frame
// colour and one white pixel inside it. White while editable, a light grey
// while read-only or disabled. Used by subclassing a dialog's edit control.
class CFlatEdit : public CEdit
{
public:
    CFlatEdit();

    static constexpr COLORREF READONLY_COLOUR = 0xEFEBEF;
    static constexpr COLORREF FRAME_COLOUR = 0xBD9E7B;

protected:
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg HBRUSH CtlColor(CDC* dc, UINT ctlColor);
    DECLARE_MESSAGE_MAP()

    CBrush m_brushReadOnly;
    CBrush m_brushNormal;
    COLORREF m_clrFrame;
};
