#pragma once
#include "afxcmn.h"

// A flat combo box whose frame lights up while the mouse is over it or it
// has the focus, with the drop button drawn from a small image strip
// (bitmap resource 523) and type-ahead completion in its edit field.
class CCJFlatComboBox : public CComboBox
{
    DECLARE_DYNAMIC(CCJFlatComboBox)
public:
    enum { FE_MOUSEOVER = 1, FE_MOUSEDOWN = 3 };
    enum { FRAME_NORMAL = 1, FRAME_RAISED = 2, FRAME_PRESSED = 3 };

    CCJFlatComboBox();
    virtual ~CCJFlatComboBox();

    BOOL IsHot() const { return m_bHot; }
    BOOL HasFocus() const { return m_bHasFocus; }
    void SetAutoComplete(BOOL bAuto) { m_bAutoComplete = bAuto; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    virtual void PreSubclassWindow();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT nIDEvent);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetFocus();
    afx_msg BOOL OnKillFocus();
    afx_msg BOOL OnEditUpdate();
    afx_msg BOOL OnSelChange();
    DECLARE_MESSAGE_MAP()

    void TimerStep();
    void DrawCombo(CDC* pDC, int nState);
    void DrawFrame(int nState);
    CRect GetButtonRect() const;

    BOOL m_bLBtnDown;
    BOOL m_bHot;
    BOOL m_bHasFocus;
    BOOL m_bAutoComplete;
    COLORREF m_clrHilite, m_clrShadow, m_clrBtnFace, m_clrArrow, m_clrBack, m_clrDisabledBack;
    CImageList m_buttonImages;
};
