#pragma once
#include "CSkinBitmap.h"
#include "afxwin.h"

// The ordinary skinned button: an owner-drawn button painted from one strip
// of four state images (normal, hover, pressed, disabled) side by side, with
// hover tracking, an optional 16 x 16 icon left of the text, the caption as
// its tooltip when it does not fit, and a check-box or radio mode in which
// the button keeps its checked state itself.
class CSkinButton : public CButton
{
public:
    enum { STATE_NORMAL = 0, STATE_HOVER = 1, STATE_PRESSED = 2, STATE_DISABLED = 3 };

    CSkinButton();
    virtual ~CSkinButton();

    // Loads the strip file; each image is a horizontal skin bitmap with the
    // edges 6 and 10 (or the caller's). keepWidth: subclassing keeps the
    // window's width and takes the image height; otherwise both.
    void SetBitmapStrip(LPCSTR lpszFile, BOOL bKeepWidth);
    void SetBitmapStripEx(LPCSTR lpszFile, int nStartEdge, int nEndEdge, BOOL bKeepWidth);
    void SetIcon(HICON hIcon) { m_hIcon = hIcon; }
    // 0 check box, 1 radio button; other values do nothing.
    void SetCheckStyle(int nStyle);
    void SetTextLayout(BOOL bLayout) { m_bTextLayout = bLayout; }
    void SetTextColor(COLORREF cr) { m_crText = cr; }

    BOOL IsHovering() const { return m_bHover; }
    BOOL IsCheckMode() const { return m_bCheckMode; }
    BOOL IsRadio() const { return m_bRadio; }
    // Set by the last drawing when the caption did not fit.
    BOOL HasTruncatedCaption() const { return m_bToolTip; }
    // The state image the last drawing used (STATE_*), -1 before any.
    int GetLastDrawnState() const { return m_nLastState; }
    const CSkinBitmap& GetStateImage(int nState) const { return m_images[nState & 3]; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual int OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;

protected:
    virtual void PreSubclassWindow();
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()

    void UncheckOthersInGroup();
    BOOL PointInClient(CPoint point) const;

    BOOL m_bTextLayout;
    CSkinBitmap m_images[4];
    BOOL m_bHover;
    BOOL m_bToolTip;
    BOOL m_bCheckMode;
    BOOL m_bRadio;
    BOOL m_bChecked;
    HICON m_hIcon;
    BOOL m_bKeepWidth;
    CFont m_font;
    COLORREF m_crText;
    BOOL m_bPressCapture;
    BOOL m_bExtra;
    int m_nLastState;
};
