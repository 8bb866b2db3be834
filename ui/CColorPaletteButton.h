#pragma once
#include "afxwin.h"

class CColorPaletteWnd;

// A compact colour button: pressing it opens a palette window with greys,
// the web colours and an eyedropper; releasing the mouse picks the colour
// under it. The chosen colour goes to the parent as WM_COMMAND with the
// button's id, and as "#RRGGBB" into an optional buddy window.
class CColorPaletteButton : public CButton
{
public:
    CColorPaletteButton();
    virtual ~CColorPaletteButton();

    void SetBuddy(CWnd* pBuddy) { m_pBuddy = pBuddy; }
    void SetColor(COLORREF crColor);
    COLORREF GetColor() const { return m_crColor; }
    BOOL IsPaletteOpen() const { return m_bPaletteOpen; }
    HWND GetPaletteWindow() const { return m_hPalette; }
    void OpenPalette();
    void ClosePalette();
    // Sets the cursor for a point of the screen while the palette is open.
    void UpdateCursor(CPoint screenPoint);
    HCURSOR GetEyedropper() const { return m_hEyedropper; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

protected:
    virtual void PreSubclassWindow();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    CWnd* m_pBuddy;
    COLORREF m_crColor;
    HWND m_hPalette;
    BOOL m_bPaletteOpen;
    HCURSOR m_hEyedropper;
};
