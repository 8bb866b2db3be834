#pragma once
#include "afxwin.h"

class CColorPaletteButton;

// The palette window of CColorPaletteButton (class "ColorPalette"): 12 greys
// and the 216 web colours in 10-pixel cells, a preview of the current colour
// with its hex text, a button for the system colour dialog, and an
// eyedropper that follows the screen pixel under the cursor outside it.
class CColorPaletteWnd : public CWnd
{
public:
    enum { WIDTH = 191, HEIGHT = 150, GRID_COLUMNS = 19, GRID_ROWS = 12, ID_MORE = 100 };
    enum { WM_SET_INITIAL = WM_USER + 1, WM_MORE_COLOURS = WM_USER + 2 };
    static const char* const CLASS_NAME;

    CColorPaletteWnd();
    virtual ~CColorPaletteWnd();

    BOOL Create(CColorPaletteButton* pButton);
    COLORREF GetCurrentColour() const { return m_crCurrent; }
    int GetHoverCell() const { return m_nHover; }

    // The cell under a point of the client area, -1 for none (a point on a
    // grid line belongs to no cell); the colour a cell shows.
    static int CellFromPoint(CPoint point);
    static COLORREF CellColour(int nCell);

protected:
    virtual void PostNcDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg LRESULT OnSetInitial(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMore();
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDIS);
    DECLARE_MESSAGE_MAP()

    void Track(CPoint point);

    CColorPaletteButton* m_pButton;
    COLORREF m_crCurrent;
    COLORREF m_crInitial;
    CFont m_font;
    CButton m_more;
    CPoint m_ptDown;
    static int m_nHover; // remembered across openings
};
