#pragma once
#include "afxwin.h"

// The co-browsing bar: back, forward, refresh, stop, the address field and
// go. Each button forwards its command to the frame; Enter in the address
// field is go.
class CDlgWebBar : public CDialog
{
public:
    enum : UINT { IDD = 569, HEIGHT = 22 };

    CDlgWebBar();
    BOOL CreateBar(CWnd* frame);

    CString GetAddress() const;
    void SetAddress(const char* text);
    // Lays the controls out along the given width.
    void Layout(int width);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override {}
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT type);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    DECLARE_MESSAGE_MAP()

    void Forward(UINT command);
    CWnd* m_frame = nullptr;
};
