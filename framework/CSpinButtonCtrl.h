#pragma once
#include "CWnd.h"

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(UPDOWN_CLASSA, NULL, dwStyle, rect, pParentWnd, nID);
    }
    CWnd* SetBuddy(CWnd* pWndBuddy)
    {
        return CWnd::FromHandle((HWND)SendMessage(UDM_SETBUDDY, (WPARAM)pWndBuddy->GetSafeHwnd()));
    }
    CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)SendMessage(UDM_GETBUDDY)); }
    int SetPos(int nPos) { return (int)(short)SendMessage(UDM_SETPOS, 0, MAKELPARAM(nPos, 0)); }
    int GetPos() const { return (int)SendMessage(UDM_GETPOS); }
    void SetRange(int nLower, int nUpper)
    {
        SendMessage(UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower));
    }
    void SetRange32(int nLower, int nUpper) { SendMessage(UDM_SETRANGE32, nLower, nUpper); }
    DWORD GetRange() const { return (DWORD)SendMessage(UDM_GETRANGE); }
    void GetRange(int& lower, int& upper) const
    {
        DWORD r = GetRange();
        lower = (short)HIWORD(r);
        upper = (short)LOWORD(r);
    }
    UINT SetBase(int nBase) { return (UINT)SendMessage(UDM_SETBASE, nBase); }
    BOOL SetAccel(int nAccel, UDACCEL* pAccel)
    {
        return (BOOL)SendMessage(UDM_SETACCEL, nAccel, (LPARAM)pAccel);
    }
};
