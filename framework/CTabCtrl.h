#pragma once
#include "CWnd.h"

class CImageList;

class CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_TABCONTROLA, NULL, dwStyle, rect, pParentWnd, nID);
    }
    CImageList* GetImageList() const;
    CImageList* SetImageList(CImageList* pImageList);
    int GetItemCount() const { return (int)SendMessage(TCM_GETITEMCOUNT); }
    BOOL GetItem(int nItem, TCITEMA* pTabCtrlItem) const
    {
        return (BOOL)SendMessage(TCM_GETITEMA, nItem, (LPARAM)pTabCtrlItem);
    }
    BOOL SetItem(int nItem, TCITEMA* pTabCtrlItem)
    {
        return (BOOL)SendMessage(TCM_SETITEMA, nItem, (LPARAM)pTabCtrlItem);
    }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const
    {
        return (BOOL)SendMessage(TCM_GETITEMRECT, nItem, (LPARAM)lpRect);
    }
    int GetCurSel() const { return (int)SendMessage(TCM_GETCURSEL); }
    int SetCurSel(int nItem) { return (int)SendMessage(TCM_SETCURSEL, nItem); }
    int GetCurFocus() const { return (int)SendMessage(TCM_GETCURFOCUS); }
    void SetCurFocus(int nItem) { SendMessage(TCM_SETCURFOCUS, nItem); }
    CSize SetItemSize(CSize size)
    {
        return CSize((DWORD)SendMessage(TCM_SETITEMSIZE, 0, MAKELPARAM(size.cx, size.cy)));
    }
    void SetPadding(CSize size) { SendMessage(TCM_SETPADDING, 0, MAKELPARAM(size.cx, size.cy)); }
    int GetRowCount() const { return (int)SendMessage(TCM_GETROWCOUNT); }
    CWnd* GetToolTips() const { return CWnd::FromHandle((HWND)SendMessage(TCM_GETTOOLTIPS)); }
    LONG InsertItem(int nItem, TCITEMA* pTabCtrlItem)
    {
        return (LONG)SendMessage(TCM_INSERTITEMA, nItem, (LPARAM)pTabCtrlItem);
    }
    LONG InsertItem(int nItem, LPCSTR lpszItem)
    {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = (LPSTR)lpszItem;
        return InsertItem(nItem, &item);
    }
    LONG InsertItem(int nItem, LPCSTR lpszItem, int nImage)
    {
        TCITEMA item = {};
        item.mask = TCIF_TEXT | TCIF_IMAGE;
        item.pszText = (LPSTR)lpszItem;
        item.iImage = nImage;
        return InsertItem(nItem, &item);
    }
    BOOL DeleteItem(int nItem) { return (BOOL)SendMessage(TCM_DELETEITEM, nItem); }
    BOOL DeleteAllItems() { return (BOOL)SendMessage(TCM_DELETEALLITEMS); }
    void AdjustRect(BOOL bLarger, LPRECT lpRect)
    {
        SendMessage(TCM_ADJUSTRECT, bLarger, (LPARAM)lpRect);
    }
    void RemoveImage(int nImage) { SendMessage(TCM_REMOVEIMAGE, nImage); }
    int HitTest(TCHITTESTINFO* pHitTestInfo) const
    {
        return (int)SendMessage(TCM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    void DeselectAll(BOOL fExcludeFocus) { SendMessage(TCM_DESELECTALL, fExcludeFocus); }

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};
