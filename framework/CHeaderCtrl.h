#pragma once
#include "CWnd.h"

class CImageList;

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_HEADERA, NULL, dwStyle, rect, pParentWnd, nID);
    }
    int GetItemCount() const { return (int)SendMessage(HDM_GETITEMCOUNT); }
    BOOL GetItem(int nPos, HDITEMA* pHeaderItem) const
    {
        return (BOOL)SendMessage(HDM_GETITEMA, nPos, (LPARAM)pHeaderItem);
    }
    BOOL SetItem(int nPos, HDITEMA* pHeaderItem)
    {
        return (BOOL)SendMessage(HDM_SETITEMA, nPos, (LPARAM)pHeaderItem);
    }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (BOOL)SendMessage(HDM_GETITEMRECT, nIndex, (LPARAM)lpRect);
    }
    int InsertItem(int nPos, HDITEMA* phdi)
    {
        return (int)SendMessage(HDM_INSERTITEMA, nPos, (LPARAM)phdi);
    }
    BOOL DeleteItem(int nPos) { return (BOOL)SendMessage(HDM_DELETEITEM, nPos); }
    BOOL Layout(HDLAYOUT* pHeaderLayout)
    {
        return (BOOL)SendMessage(HDM_LAYOUT, 0, (LPARAM)pHeaderLayout);
    }
    int HitTest(LPHDHITTESTINFO pHeaderHitTestInfo)
    {
        return (int)SendMessage(HDM_HITTEST, 0, (LPARAM)pHeaderHitTestInfo);
    }
    CImageList* SetImageList(CImageList* pImageList);

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) {}
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
};
