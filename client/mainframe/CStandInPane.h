#pragma once
#include "afxwin.h"

// An empty pane that holds the place of a pane not built yet: a child (or,
// without parent, a hidden popup) window that paints its name.
class CStandInPane : public CWnd
{
public:
    // Creates the window; visible children only when visible is true.
    BOOL CreatePane(LPCSTR name, CWnd* parent, bool visible, int height = 0);

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()
};
