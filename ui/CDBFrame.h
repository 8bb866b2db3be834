#pragma once
#include "CCaptionButton.h"
#include "CSkinBitmap.h"
#include "CSkinCaption.h"

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
    CCaptionButton& CloseButton() { return m_skinCaption.CloseButton(); }
    CCaptionMaxButton& MaxButton() { return m_skinCaption.MaxButton(); }
    CCaptionButton& MinButton() { return m_skinCaption.MinButton(); }

    enum {
        BORDER_LEFT = CSkinCaption::BORDER_LEFT,
        BORDER_TOP = CSkinCaption::BORDER_TOP,
        BORDER_RIGHT = CSkinCaption::BORDER_RIGHT,
        BORDER_BOTTOM = CSkinCaption::BORDER_BOTTOM
    };
    static constexpr COLORREF TITLE_COLOUR = 0xFFFFFF;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

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

    CSkinBitmap m_captionActive;
    CSkinBitmap m_captionInactive;
    CSkinBitmap m_title;
    CSkinCaption m_skinCaption;
    BOOL m_bActive;
};
