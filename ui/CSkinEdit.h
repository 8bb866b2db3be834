#pragma once
#include "afxwin.h"

// A read-only looking information box with a bitmap background (resource
// 612) and no caret, which jumps out of the mouse's way between the top-left
// and the top-right of the screen on every mouse move.
class CSkinEdit : public CEdit
{
public:
    CSkinEdit();
    virtual ~CSkinEdit();
    // TRUE: the next mouse move sends the box to the top-left.
    BOOL GetSideFlag() const { return m_bSide; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    BOOL m_bSide;
};
