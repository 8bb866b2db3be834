#pragma once
#include "afxwin.h"

class IFrameHost;

// The bar between the tab strip and the chat pane. In the data-window mode
// the user drags it; on release the main window gets the bar's new y.
class CDlgSplitter : public CDialog
{
public:
    enum { BAR_HEIGHT = 5 };

    CDlgSplitter();
    BOOL CreateBar(CWnd* parent, IFrameHost* host);
    bool IsDragging() const { return m_dragging; }
    // The last drag rectangle, in screen coordinates.
    const CRect& GetDragRect() const { return m_dragRect; }

protected:
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnMouseMove(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    void OnOK() override {}
    void OnCancel() override {}
    DECLARE_MESSAGE_MAP()

private:
    void DrawDragRect(const CRect& rect);

    IFrameHost* m_host = nullptr;
    HCURSOR m_cursor = nullptr;
    bool m_dragging = false;
    CPoint m_press;
    CRect m_dragRect;
};
