#pragma once
#include "CWnd.h"

class CImageList;

// The tool-bar common control itself (a CToolBar is one).
class CToolBarCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolBarCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(TOOLBARCLASSNAMEA, NULL, dwStyle, rect, pParentWnd, nID);
    }
    BOOL EnableButton(int nID, BOOL bEnable = TRUE)
    {
        return (BOOL)SendMessage(TB_ENABLEBUTTON, nID, MAKELPARAM(bEnable, 0));
    }
    BOOL CheckButton(int nID, BOOL bCheck = TRUE)
    {
        return (BOOL)SendMessage(TB_CHECKBUTTON, nID, MAKELPARAM(bCheck, 0));
    }
    BOOL PressButton(int nID, BOOL bPress = TRUE)
    {
        return (BOOL)SendMessage(TB_PRESSBUTTON, nID, MAKELPARAM(bPress, 0));
    }
    BOOL HideButton(int nID, BOOL bHide = TRUE)
    {
        return (BOOL)SendMessage(TB_HIDEBUTTON, nID, MAKELPARAM(bHide, 0));
    }
    BOOL IsButtonEnabled(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONENABLED, nID); }
    BOOL IsButtonChecked(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONCHECKED, nID); }
    BOOL IsButtonPressed(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONPRESSED, nID); }
    BOOL IsButtonHidden(int nID) const { return (BOOL)SendMessage(TB_ISBUTTONHIDDEN, nID); }
    int GetState(int nID) const { return (int)SendMessage(TB_GETSTATE, nID); }
    BOOL SetState(int nID, UINT nState)
    {
        return (BOOL)SendMessage(TB_SETSTATE, nID, MAKELPARAM(nState, 0));
    }
    int GetButtonCount() const { return (int)SendMessage(TB_BUTTONCOUNT); }
    BOOL GetButton(int nIndex, LPTBBUTTON lpButton) const
    {
        return (BOOL)SendMessage(TB_GETBUTTON, nIndex, (LPARAM)lpButton);
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (BOOL)SendMessage(TB_GETITEMRECT, nIndex, (LPARAM)lpRect);
    }
    int CommandToIndex(UINT nID) const { return (int)SendMessage(TB_COMMANDTOINDEX, nID); }
    BOOL AddButtons(int nNumButtons, LPTBBUTTON lpButtons)
    {
        return (BOOL)SendMessage(TB_ADDBUTTONSA, nNumButtons, (LPARAM)lpButtons);
    }
    BOOL DeleteButton(int nIndex) { return (BOOL)SendMessage(TB_DELETEBUTTON, nIndex); }
    int AddBitmap(int nNumButtons, UINT nBitmapID);
    BOOL SetButtonSize(CSize size)
    {
        return (BOOL)SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(size.cx, size.cy));
    }
    BOOL SetBitmapSize(CSize size)
    {
        return (BOOL)SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(size.cx, size.cy));
    }
    void AutoSize() { SendMessage(TB_AUTOSIZE); }
    CImageList* SetImageList(CImageList* pImageList);
    CImageList* SetHotImageList(CImageList* pImageList);
    CImageList* SetDisabledImageList(CImageList* pImageList);
    CImageList* GetImageList() const;
    DWORD SetExtendedStyle(DWORD dwExStyle)
    {
        return (DWORD)SendMessage(TB_SETEXTENDEDSTYLE, 0, dwExStyle);
    }
    int HitTest(LPPOINT ppt) const { return (int)SendMessage(TB_HITTEST, 0, (LPARAM)ppt); }
    CWnd* GetToolTips() const { return CWnd::FromHandle((HWND)SendMessage(TB_GETTOOLTIPS)); }
};
