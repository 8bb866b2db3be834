#pragma once
#include "afxwin.h"

// An owner-drawn push button drawn from state images (normal, pressed,
// mouse-over, disabled; two image sets) with its caption over the image.
// It offers no loader for its images: subclassing sizes it to the image
// size, so a button without images takes no room.
class CSkinPushButton : public CButton
{
public:
    enum { IMG_NORMAL = 0, IMG_PRESSED = 1, IMG_OVER = 2, IMG_DISABLED = 3 };
    CSkinPushButton();
    virtual ~CSkinPushButton();

    BOOL IsMouseOver() const { return m_bMouseOver; }
    BOOL IsCaptionTruncated() const { return m_bTruncated; }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual int OnToolHitTest(CPoint point, TOOLINFOA* pTI) const;

protected:
    virtual void PreSubclassWindow();
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

    CFont m_font;
    HBITMAP m_images[4][2];
    BOOL m_bMouseOver;
    HCURSOR m_hHandCursor;
    BOOL m_bUseCursor;
    int m_nImageSet;
    BOOL m_bTruncated;
    COLORREF m_crText;
    BOOL m_bLButtonDown;
    int m_cxImage, m_cyImage;
    COLORREF m_crEdge[2];
    BOOL m_bDrawEdges;
    BOOL m_bClip;
    HRGN m_hRegions[2];
    COLORREF m_crTransparent;
};
