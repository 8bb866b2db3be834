#pragma once
#include "CCaptionButton.h"
#include "CSkinBitmap.h"

#include "afxcmn.h"
#include "afxwin.h"

// The frame-window base of the main window: its own caption, title and
// borders from skin bitmaps, a rounded window region, maximising to the
// work area, and three caption buttons whose maximise/restore and close
// actions the derived frame decides.
class CDBFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CDBFrame)
public:
    CDBFrame();

    // ID_CAPTION_MAXIMIZE and ID_CAPTION_RESTORE; nothing here.
    virtual void OnMaxRestore();
    // ID_CAPTION_CLOSE; posts WM_CLOSE here.
    virtual void OnCloseButton();

    BOOL PreTranslateMessage(MSG* pMsg) override;

    int GetCaptionHeight() const;
    BOOL IsActiveCaption() const { return m_bActive; }
    CCaptionButton& CloseButton() { return m_btnClose; }
    CCaptionMaxButton& MaxButton() { return m_btnMax; }
    CCaptionButton& MinButton() { return m_btnMin; }

    enum { BORDER_LEFT = 4, BORDER_TOP = 0, BORDER_RIGHT = 5, BORDER_BOTTOM = 4 };
    static constexpr COLORREF TITLE_COLOUR = 0xFFFFFF;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void LayoutButtons();
    BOOL HasMinMax() const;
    void RelayToButtons(const MSG* msg);

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg void OnCaptionClose();
    afx_msg void OnCaptionMaxRestore();
    afx_msg void OnCaptionMinimize();
    DECLARE_MESSAGE_MAP()

    CSize m_sizeCorner;
    CRgn m_rgnWindow;
    CToolTipCtrl m_toolTip;
    CSkinBitmap m_captionActive;
    CSkinBitmap m_captionInactive;
    CSkinBitmap m_title;
    CSkinBitmap m_borderLeft;
    CSkinBitmap m_borderRight;
    CSkinBitmap m_borderBottom;
    CCaptionButton m_btnMin;
    CCaptionMaxButton m_btnMax;
    CCaptionButton m_btnClose;
    RECT m_rcMin;
    RECT m_rcClose;
    RECT m_rcMax;
    BOOL m_bActive;
};
