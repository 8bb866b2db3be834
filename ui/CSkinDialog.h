#pragma once
#include "CCaptionButton.h"
#include "CLangDialog.h"
#include "CSkinBitmap.h"

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
    CCaptionButton& CloseButton() { return m_btnClose; }
    CCaptionMaxButton& MaxButton() { return m_btnMax; }
    CCaptionButton& MinButton() { return m_btnMin; }
    CToolTipCtrl& ToolTip() { return m_toolTip; }

    enum { BORDER_LEFT = 4, BORDER_TOP = 0, BORDER_RIGHT = 5, BORDER_BOTTOM = 4 };
    static constexpr COLORREF BACKGROUND = 0xFAF5EF;

protected:
    void LayoutButtons();
    BOOL HasMinMax() const;
    void RelayToButtons(const MSG* msg);
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
    CSize m_sizeCorner;
    CRgn m_rgnWindow;
    CToolTipCtrl m_toolTip;
    CSkinBitmap m_caption;
    CSkinBitmap m_borderLeft;
    CSkinBitmap m_borderRight;
    CSkinBitmap m_borderBottom;
    CCaptionButton m_btnMin;
    CCaptionMaxButton m_btnMax;
    CCaptionButton m_btnClose;
    RECT m_rcMin;
    RECT m_rcClose;
    RECT m_rcMax;
};
