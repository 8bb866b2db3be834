#pragma once
#include "afxcmn.h"

// A static text that acts as a link: it opens its address in the web
// browser when clicked, underlines itself while the mouse is over it, and
// shows the address as its tooltip.
class CHyperLink : public CStatic
{
public:
    CHyperLink();
    virtual ~CHyperLink();

    void SetURL(LPCSTR lpszURL);
    CString GetURL() const { return m_strURL; }
    void SetVisited(BOOL bVisited = TRUE);
    BOOL GetVisited() const { return m_bVisited; }
    BOOL IsHovering() const { return m_bOverControl; }
    // The text of the error message for a failed opening.
    static CString GetErrorText(int nResult);

    virtual BOOL DestroyWindow();
    virtual BOOL PreTranslateMessage(MSG* pMsg);

protected:
    virtual void FollowLink();
    virtual INT_PTR GotoURL(LPCSTR lpszURL, int nShowCmd);
    virtual void PreSubclassWindow();

    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnTimer(UINT nIDEvent);
    afx_msg BOOL OnClicked();
    DECLARE_MESSAGE_MAP()

    void PositionWindow();
    void SetDefaultCursor();
    static LONG GetRegKey(HKEY key, LPCSTR subkey, LPSTR retdata);

    COLORREF m_crLinkColour, m_crVisitedColour, m_crHoverColour;
    BOOL m_bOverControl;
    BOOL m_bVisited;
    int m_nUnderline;
    BOOL m_bAdjustToFit;
    CString m_strURL;
    CFont m_UnderlineFont;
    CFont m_StdFont;
    HCURSOR m_hLinkCursor;
    CToolTipCtrl m_ToolTip;
    UINT m_nTimerID;
};
