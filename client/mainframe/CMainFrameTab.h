#pragma once
#include "CMainTabStrip.h"

// The main window's page switcher: a participant without the right to
// change the layout cannot switch pages by clicking, and every switch is
// sent to the others when this client holds the layout control.
class CMainFrameTab : public CMainTabStrip
{
public:
    // Shows a page (0 to count - 1, not the current one) and sends the layout.
    void ShowPage(int index);
    void AppendPage(HWND page, LPCSTR title);
    int GetCurPage() const;

protected:
    afx_msg void OnSelChanging(NMHDR* nmhdr, LRESULT* result);
    afx_msg void OnSelChangeMain(NMHDR* nmhdr, LRESULT* result);
    DECLARE_MESSAGE_MAP()
};
