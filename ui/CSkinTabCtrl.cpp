#include "CSkinTabCtrl.h"

BEGIN_MESSAGE_MAP(CSkinTabCtrl, CTabCtrl)
    ON_WM_SIZE()
    ON_NOTIFY_REFLECT(TCN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

CSkinTabCtrl::CSkinTabCtrl() {}

CSkinTabCtrl::~CSkinTabCtrl() {}

BOOL CSkinTabCtrl::AddPage(HWND hPage, int nIndex, LPCSTR lpszText, HICON hIcon)
{
    if (nIndex < 0 || nIndex > GetItemCount())
        return FALSE;
    TCITEMA item = {};
    item.mask = TCIF_TEXT | TCIF_PARAM;
    item.pszText = (LPSTR)lpszText;
    item.lParam = (LPARAM)hPage;
    if (hIcon) {
        HICON hCopy =
            (HICON)::CopyImage(hIcon, IMAGE_ICON, 16, 16, LR_COPYFROMRESOURCE | LR_COPYDELETEORG);
        if (hCopy) {
            if (!m_images.GetSafeHandle()) {
                ICONINFO ii = {};
                int cx = 16, cy = 16;
                if (::GetIconInfo(hCopy, &ii)) {
                    BITMAP bm = {};
                    if (ii.hbmColor && ::GetObjectA(ii.hbmColor, sizeof(bm), &bm)) {
                        cx = bm.bmWidth;
                        cy = bm.bmHeight;
                    }
                    if (ii.hbmColor)
                        ::DeleteObject(ii.hbmColor);
                    if (ii.hbmMask)
                        ::DeleteObject(ii.hbmMask);
                }
                m_images.Create(cx, cy, ILC_COLOR24 | ILC_MASK, 1, 1);
                SetImageList(&m_images);
            }
            item.iImage = m_images.Add(hCopy);
            item.mask |= TCIF_IMAGE;
            ::DestroyIcon(hCopy);
        }
    }
    return InsertItem(nIndex, &item) != -1;
}

HWND CSkinTabCtrl::GetPageWindow(int nIndex) const
{
    TCITEMA item = {};
    item.mask = TCIF_PARAM;
    if (!GetItem(nIndex, &item))
        return NULL;
    return (HWND)item.lParam;
}

void CSkinTabCtrl::SelectPage(int nIndex)
{
    if (GetCurSel() != nIndex)
        SetCurSel(nIndex);
    int count = GetItemCount();
    HWND hShow = GetPageWindow(nIndex);
    for (int i = 0; i < count; ++i) {
        HWND h = GetPageWindow(i);
        if (h && h != hShow && ::IsWindow(h))
            ::ShowWindow(h, SW_HIDE);
    }
    if (hShow && ::IsWindow(hShow)) {
        ::ShowWindow(hShow, SW_SHOW);
        ::SetFocus(hShow);
    }
    ResizeCurrentPage();
}

void CSkinTabCtrl::ResizeCurrentPage()
{
    int sel = GetCurSel();
    if (GetItemCount() == 0 || sel < 0)
        return;
    HWND h = GetPageWindow(sel);
    if (!h || !::IsWindow(h))
        return;
    CRect rc;
    GetPageRect(&rc);
    // The page rectangle is in this control's client coordinates; a page
    // that is not our child is placed in its own parent's coordinates.
    HWND hParent = ::GetParent(h);
    if (hParent && hParent != m_hWnd)
        ::MapWindowPoints(m_hWnd, hParent, (LPPOINT)&rc, 2);
    ::MoveWindow(h, rc.left, rc.top, rc.Width(), rc.Height(), TRUE);
}

void CSkinTabCtrl::GetPageRect(RECT* pRect)
{
    CRect rc;
    GetWindowRect(&rc);
    rc.OffsetRect(-rc.left, -rc.top);
    AdjustRect(FALSE, &rc);
    *pRect = rc;
}

void CSkinTabCtrl::OnSize(UINT nType, int cx, int cy)
{
    CTabCtrl::OnSize(nType, cx, cy);
    ResizeCurrentPage();
}

void CSkinTabCtrl::OnSelChange(NMHDR*, LRESULT* pResult)
{
    int sel = GetCurSel();
    if (sel >= 0)
        SelectPage(sel);
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->SendMessage(WM_TAB_PAGE_CHANGED, (WPARAM)sel, 0);
    *pResult = 0;
}
