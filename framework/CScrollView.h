#pragma once
#include "CView.h"

class CBrush;

// A view larger than its window: SetScrollSizes gives the total size (in
// MM_TEXT or another mapping mode); OnPrepareDC moves the origin by the
// scroll position.
class CScrollView : public CView
{
    DECLARE_DYNAMIC(CScrollView)
public:
    static const SIZE sizeDefault;
    CScrollView();

    void SetScrollSizes(int nMapMode, SIZE sizeTotal, const SIZE& sizePage = sizeDefault,
                        const SIZE& sizeLine = sizeDefault);
    CPoint GetScrollPosition() const;
    CPoint GetDeviceScrollPosition() const;
    CSize GetTotalSize() const { return m_totalLog; }
    void GetDeviceScrollSizes(int& nMapMode, SIZE& sizeTotal, SIZE& sizePage, SIZE& sizeLine) const;
    void ScrollToPosition(POINT pt);
    void FillOutsideRect(CDC* pDC, CBrush* pBrush);
    void ResizeParentToFit(BOOL bShrinkOnly = TRUE);
    virtual void OnPrepareDC(CDC* pDC, void* pInfo = NULL);
    virtual BOOL OnScrollBy(CSize sizeScroll, BOOL bDoScroll = TRUE);
    virtual BOOL OnScroll(UINT nScrollCode, UINT nPos, BOOL bDoScroll = TRUE);

protected:
    void UpdateBars();
    int m_nMapMode;
    CSize m_totalLog, m_totalDev, m_pageDev, m_lineDev;

    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg BOOL OnMouseWheel(UINT fFlags, short zDelta, CPoint point);
    DECLARE_MESSAGE_MAP()
};
