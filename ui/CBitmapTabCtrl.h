#pragma once
#include "CSkinBitmap.h"
#include "CSkinTabCtrl.h"

// A page tab control whose tabs are painted from skin bitmaps (an inactive
// and a current tab image), with a hand cursor over the tabs.
class CBitmapTabCtrl : public CSkinTabCtrl
{
public:
    CBitmapTabCtrl();
    virtual ~CBitmapTabCtrl();
    virtual void GetPageRect(RECT* pRect);

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpcs);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnPaint();
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg UINT OnNcHitTest(CPoint point);
    DECLARE_MESSAGE_MAP()

    void DrawTab(CDC* pDC, CRect rc, LPCSTR lpszText, HICON hIcon, int nState);

    HCURSOR m_hHand;
    CSkinBitmap m_inactive;
    CSkinBitmap m_current;
};
