#pragma once
#include "CSkinBitmap.h"
#include "CSkinButton.h"

#include "afxwin.h"

class IFrameHost;

// The narrow bar left of the tab strip: its arrow button switches the main
// window between the data window and the data window only. It starts
// disabled; the main window enables it.
class CDlgArrowBar : public CDialog
{
public:
    enum { WIDTH = 5, BUTTON_HEIGHT = 15 };

    CDlgArrowBar();
    BOOL CreateBar(CWnd* parent, IFrameHost* host);

protected:
    BOOL OnInitDialog() override;
    afx_msg void OnArrow();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnSize(UINT type, int cx, int cy);
    void OnOK() override {}
    void OnCancel() override {}
    DECLARE_MESSAGE_MAP()

private:
    IFrameHost* m_host = nullptr;
    CSkinBitmap m_background;
    CSkinButton m_arrow;
};
