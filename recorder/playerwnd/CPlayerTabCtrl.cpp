#include "CPlayerTabCtrl.h"

BEGIN_MESSAGE_MAP(CPlayerTabCtrl, CSkinTabCtrl)
    ON_NOTIFY_REFLECT_EX(TCN_SELCHANGING, OnSelChanging)
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BOOL CPlayerTabCtrl::OnSelChanging(NMHDR*, LRESULT* result)
{
    *result = 0;
    return FALSE;
}

void CPlayerTabCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        RECT rc;
        if (GetItemRect(i, &rc) && ::PtInRect(&rc, point)) {
            SetCurSel(i);
            SelectPage(i);
        }
    }
    CSkinTabCtrl::OnLButtonUp(flags, point);
}
