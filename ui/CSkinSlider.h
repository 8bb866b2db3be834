#pragma once
#include "CSkinBitmap.h"
#include "afxwin.h"

// A slider drawn entirely from skin bitmaps: a channel in two parts that meet
// under the thumb, a thumb with four state images (normal, pressed, mouse
// over, disabled) and, in the horizontal form, a row of level blocks. It
// reports dragging to its parent as a scroll bar does (WM_HSCROLL or
// WM_VSCROLL with SB_THUMBTRACK, SB_THUMBPOSITION and SB_ENDSCROLL).
class CSkinSlider : public CWnd
{
public:
    enum { STATE_NORMAL = 0, STATE_PRESSED = 1, STATE_OVER = 2, STATE_DISABLED = 3 };

    CSkinSlider();
    virtual ~CSkinSlider();

    BOOL Create(LPCSTR lpszBeforeFile, LPCSTR lpszAfterFile, LPCSTR lpszThumbStrip,
                const RECT& rect, CWnd* pParentWnd, UINT nID, BOOL bHorizontal = TRUE);
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void GetRange(int* pMin, int* pMax) const;
    void SetPos(int nPos);
    int GetPos() const { return m_nPos; }
    int GetState() const { return m_nState; }
    BOOL IsDragging() const { return m_bDragging; }
    CRect GetChannelRect() const;
    CRect GetThumbRect() const;

    // Percent 0 to 100, written by the owner, who then repaints the slider.
    int m_nLevel;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    int CenterFromPos() const;
    int PosFromPoint(CPoint point) const;
    void Notify(UINT nCode);
    void SetState(int nState);

    COLORREF m_crBackground;
    BOOL m_bDragging;
    int m_cxThumb, m_cyThumb;
    CPoint m_ptDragOffset;
    BOOL m_bHorizontal;
    CSkinBitmap m_after;
    CSkinBitmap m_before;
    CBitmap m_thumbs[4];
    int m_nPos, m_nMin, m_nMax;
    int m_nLineStep, m_nPageStep;
    int m_nState;
};
