#pragma once
#include "afxcmn.h"

// A simple flat combo box with a thin coloured border and a triangle drop
// button.
class CSkinComboBox : public CComboBox
{
public:
    CSkinComboBox();
    virtual ~CSkinComboBox();
    BOOL IsDroppedDown() const { return m_bDropped; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);

protected:
    virtual void PreSubclassWindow();
    afx_msg void OnPaint();
    afx_msg BOOL OnCloseUp();
    afx_msg BOOL OnDropDown();
    DECLARE_MESSAGE_MAP()

    BOOL m_bDropped;
    COLORREF m_clrBack, m_clrBtnFace, m_clrBorder, m_clrArrowClosed, m_clrArrowDropped;
};
