#pragma once
#include "afxcmn.h"

// Sent to the parent after the user changed the tab: wParam the new index.
#define WM_TAB_PAGE_CHANGED (WM_USER + 1111)

// A tab control that keeps one page window per tab (in the item's lParam)
// and shows the page of the current tab inside its page rectangle.
class CSkinTabCtrl : public CTabCtrl
{
public:
    CSkinTabCtrl();
    virtual ~CSkinTabCtrl();

    // Inserts a tab at nIndex (0 to the count). An icon is copied to 16 x 16
    // into the control's image list; the caller's icon handle is consumed.
    BOOL AddPage(HWND hPage, int nIndex, LPCSTR lpszText, HICON hIcon = NULL);

    virtual void ResizeCurrentPage();
    virtual void SelectPage(int nIndex);
    virtual void GetPageRect(RECT* pRect);

protected:
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSelChange(NMHDR* pNMHDR, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    HWND GetPageWindow(int nIndex) const;
    CImageList m_images;
};
