#pragma once
#include "afxcmn.h"

// A flat header for list controls, drawn from a bitmap (resource 614) in a
// font taken from the system's menu font.
class CFlatHeaderCtrl : public CHeaderCtrl
{
public:
    CFlatHeaderCtrl();
    virtual ~CFlatHeaderCtrl();
    int GetHotItem() const { return m_nHotItem; }
    CFont& GetHeaderFont() { return m_font; }

protected:
    virtual void DrawItem(CDC* pDC, int nIndex, int left, int top, int right, int bottom,
                          BOOL bPressed, BOOL bHot);
    virtual void DrawBackground(CDC* pDC);
    virtual void DrawSortArrow(CDC* pDC, int left, int top, int right, int bottom);
    using CHeaderCtrl::DrawItem;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    void Paint(CDC* pDC, const CRect& rc);
    int ItemAt(CPoint point) const;

    CMapWordToPtr m_sortStates;
    BOOL m_bLButtonDown;
    int m_nHotItem;
    CFont m_font;
    COLORREF m_cr3DFace, m_cr3DShadow, m_cr3DHighLight, m_crBtnText, m_crWindowFrame,
        m_cr3DDkShadow, m_cr3DLight;
    CBrush m_brFace;
};
