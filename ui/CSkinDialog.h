#pragma once
#include "CCaptionButton.h"
#include "CLangDialog.h"
#include "CSkinBitmap.h"
#include "CSkinCaption.h"

#include "afxcmn.h"

// The skinned dialog base: caption and borders from skin bitmaps, a rounded
// window region, three caption buttons of its own with tooltips, and one
// light background for the dialog and its static controls.
class CSkinDialog : public CLangDialog
{
public:
    CSkinDialog(UINT templateId, LPCTSTR section, CWnd* parent = NULL);

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The caption's height: the caption bitmap's, or the system caption
    // height when the bitmap could not be loaded.
    int GetCaptionHeight() const;

    // For tests and derived dialogs.
    CCaptionButton& CloseButton() { return m_skinCaption.CloseButton(); }
    CCaptionMaxButton& MaxButton() { return m_skinCaption.MaxButton(); }
    CCaptionButton& MinButton() { return m_skinCaption.MinButton(); }
    CToolTipCtrl& ToolTip() { return m_skinCaption.ToolTip(); }

    enum {
        BORDER_LEFT = CSkinCaption::BORDER_LEFT,
        BORDER_TOP = CSkinCaption::BORDER_TOP,
        BORDER_RIGHT = CSkinCaption::BORDER_RIGHT,
        BORDER_BOTTOM = CSkinCaption::BORDER_BOTTOM
    };
    static constexpr COLORREF BACKGROUND = 0xFAF5EF;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    afx_msg void OnCaptionClose();
    afx_msg void OnCaptionMaximize();
    afx_msg void OnCaptionRestore();
    afx_msg void OnCaptionMinimize();
    DECLARE_MESSAGE_MAP()

    CBrush m_brushBackground;
    CSkinBitmap m_caption;
    CSkinCaption m_skinCaption;
};
