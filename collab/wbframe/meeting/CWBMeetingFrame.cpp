#include "CWBMeetingFrame.h"

#include "WbFrameResource.h"

BOOL CWBMeetingFrame::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_WB_T_CAPTURE && lParam == 0) {
        if (CWnd* top = GetTopLevelParent())
            if (top != this)
                top->SendMessage(WM_COMMAND, IDC_WB_T_CAPTURE, 0);
        return TRUE;
    }
    return CWBFrame::OnCommand(wParam, lParam);
}
