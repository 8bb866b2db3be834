#pragma once
#include "CSkinDialog.h"

// The enlarged video window: it borrows one video render window, shows it
// over its whole client area and gives it back to the window it came from
// when the user closes it.
class CDlgBigVideo : public CSkinDialog
{
public:
    enum { START_WIDTH = 320, START_HEIGHT = 240 };

    CDlgBigVideo();
    BOOL CreateWindowed(CWnd* parent);

    HWND GetRenderWindow() const { return m_render; }
    HWND GetSourceWindow() const { return m_source; }

protected:
    afx_msg LRESULT OnVideoJoin(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnVideoLeave(WPARAM wParam, LPARAM lParam);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnClose();
    void OnCancel() override;
    void OnOK() override {}
    DECLARE_MESSAGE_MAP()

private:
    void GiveBack();

    HWND m_render = nullptr;
    HWND m_source = nullptr;
};
