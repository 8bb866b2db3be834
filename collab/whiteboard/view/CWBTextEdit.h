#pragma once
#include "afxwin.h"

// The in-place editor of a new text: it widens itself as the user types,
// holds no more than a text object carries, and tells its parent
// (WM_WB_TEXT_DONE) when Enter is pressed.
class CWBTextEdit : public CEdit
{
public:
    CWBTextEdit();
    BOOL Open(CWnd* pParent, POINT ptClient, const LOGFONTA& font, COLORREF crText);
    void Close();
    CString GetTextNow() const;

    COLORREF m_crText;
    COLORREF m_crBack;
    LOGFONTA m_logFont;

protected:
    void FitToText();
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    DECLARE_MESSAGE_MAP()

    CFont m_font;
    CBrush m_brush;
};
