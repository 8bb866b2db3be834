#pragma once
#include "afxwin.h"

// A flat, owner-drawn push button that shows a bitmap with a transparent
// colour, changes background and text colour with the mouse-over, pressed
// and focus states, can act as a check box and can carry its own cursor.
class CIconButton : public CButton
{
public:
    // State colour indexes for SetStateColor.
    enum {
        BTNST_COLOR_BK_IN = 0,
        BTNST_COLOR_FG_IN = 1,
        BTNST_COLOR_BK_OUT = 2,
        BTNST_COLOR_FG_OUT = 3,
        BTNST_COLOR_BK_FOCUS = 4,
        BTNST_COLOR_FG_FOCUS = 5,
        BTNST_MAX_COLORS = 6
    };
    // Normal-image requests for SetBitmaps.
    static const UINT BTNST_AUTO_GRAY = (UINT)-2;
    static const UINT BTNST_AUTO_DARKER = (UINT)-3;
    // Results.
    enum {
        BTNST_OK = 0,
        BTNST_INVALIDRESOURCE = 1,
        BTNST_FAILEDMASK = 2,
        BTNST_INVALIDINDEX = 3,
        BTNST_BADPARAM = 6
    };
    // Image placement (SetImageLayout): the image at the top-left corner of
    // the button with the caption centred over the whole button, or the image
    // on the left, vertically centred, with the caption centred in the rest.
    enum { IMAGE_TOPLEFT = 0, IMAGE_LEFT = 1 };

    CIconButton();
    virtual ~CIconButton();

    DWORD SetBitmaps(UINT nBitmapIn, COLORREF crTransIn, UINT nBitmapOut = 0,
                     COLORREF crTransOut = 0);
    DWORD SetStateColor(BYTE byColorIndex, COLORREF crColor, BOOL bRepaint = TRUE);
    DWORD SetPressedOffset(BYTE byMode, BOOL bRepaint = TRUE);
    DWORD SetButtonCursor(UINT nCursorId, BOOL bRepaint = TRUE);
    DWORD SetImageLayout(int nLayout, BOOL bRepaint = TRUE);
    void SizeToImage();

    COLORREF GetStateColor(int nIndex) const { return m_crColors[nIndex]; }
    BOOL IsMouseOver() const { return m_bMouseOver; }
    BOOL IsCheckBox() const { return m_bIsCheckBox; }
    BOOL HasImage() const { return m_images[0].hBitmap != NULL; }
    // The image the last drawing used (0 active, 1 normal) and where.
    int GetLastImage() const { return m_nLastImage; }
    CPoint GetLastImagePos() const { return m_ptLastImage; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);

protected:
    virtual void DrawBackground(CDC* pDC, RECT* pRect);
    virtual void DrawBitmap(CDC* pDC, BOOL bHasText, RECT* rpItem, RECT* rpCaption, BOOL bPressed,
                            BOOL bDisabled);
    virtual void DrawCaption(CDC* pDC, LPCSTR lpszText, RECT* rpItem, RECT* rpCaption,
                             BOOL bPressed, BOOL bDisabled);
    virtual void PreSubclassWindow();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Takes ownership of the two bitmaps (hOut may be null) and builds the
    // requested images and masks; SetBitmaps loads the resources for it.
    DWORD SetBitmapHandles(HBITMAP hIn, COLORREF crTransIn, HBITMAP hOut, UINT nOutRequest,
                           COLORREF crTransOut);

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnClicked();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    struct Image
    {
        HBITMAP hBitmap;
        int cx, cy;
        HBITMAP hMask;
        COLORREF crTrans;
    };
    void FreeImages();
    void CancelHover();
    void SetDefaultColors(BOOL bRepaint);
    static HBITMAP CreateMask(HBITMAP hBitmap, int cx, int cy, COLORREF crTrans);
    static HBITMAP CreateShadedCopy(HBITMAP hSource, int cx, int cy, COLORREF crTrans, BOOL bGray);

    BOOL m_bIsFlat;
    BOOL m_bMouseOver;
    BOOL m_bIsPressed, m_bIsFocused, m_bIsDisabled;
    BOOL m_bIsDefault;
    BOOL m_bIsCheckBox;
    int m_nCheck;
    POINT m_ptPressedOffset;
    COLORREF m_crColors[BTNST_MAX_COLORS];
    HCURSOR m_hCursor;
    Image m_images[2];
    int m_nLayout;
    int m_nLastImage;
    CPoint m_ptLastImage;
};
