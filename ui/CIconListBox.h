#pragma once
#include "afxwin.h"

// A list box whose items are pictures cut from one bitmap strip; the item
// index is the picture index. Selecting a picture asks the main window for
// that window layout (message 0x658, wParam the index) when the own
// participant may change the layout.
class CIconListBox : public CListBox
{
public:
    enum { WM_LAYOUT_REQUEST = WM_USER + 600 };
    typedef BOOL (*PFN_CONTROL_RIGHT)();

    CIconListBox();
    virtual ~CIconListBox();

    BOOL SetImageStrip(UINT nBitmapId, int nImageWidth);
    // Installs the strip from a bitmap the list box then owns.
    BOOL SetImageStrip(HBITMAP hStrip, int nImageWidth);
    // The client's control-right check (true when the own participant may
    // change the layout); without one every selection is passed on.
    static void SetControlRightQuery(PFN_CONTROL_RIGHT pfn);
    // Where the layout request goes; the main window when not set.
    void SetLayoutTarget(CWnd* pWnd) { m_pLayoutTarget = pWnd; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);

protected:
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg BOOL OnSelChange();
    afx_msg BOOL OnSelCancel();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    int m_cxImage;
    int m_cyImage;
    CDC m_memDC;
    CBitmap m_strip;
    HGDIOBJ m_hOldBitmap;
    CWnd* m_pLayoutTarget;
    static PFN_CONTROL_RIGHT s_pfnControlRight;
};
