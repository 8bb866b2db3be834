#include "CSkinSliderCtrl.h"

BEGIN_MESSAGE_MAP(CSkinSliderCtrl, CSliderCtrl)
    ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSkinSliderCtrl::CSkinSliderCtrl() {}

CSkinSliderCtrl::~CSkinSliderCtrl() {}

void CSkinSliderCtrl::TakeBackground()
{
    CWnd* pParent = GetParent();
    CRect rc;
    GetClientRect(&rc);
    if (!pParent || rc.IsRectEmpty())
        return;
    CRect inParent = rc;
    MapWindowPoints(pParent, &inParent);
    CDC* pParentDC = pParent->GetDC();
    CDC mem;
    mem.CreateCompatibleDC(pParentDC);
    m_background.CreateCompatibleBitmap(pParentDC, rc.Width(), rc.Height());
    CBitmap* pOld = mem.SelectObject(&m_background);
    mem.BitBlt(0, 0, rc.Width(), rc.Height(), pParentDC, inParent.left, inParent.top, SRCCOPY);
    mem.SelectObject(pOld);
    pParent->ReleaseDC(pParentDC);
}

void CSkinSliderCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMCUSTOMDRAW* cd = (NMCUSTOMDRAW*)pNMHDR;
    *pResult = CDRF_DODEFAULT;
    if (cd->dwDrawStage == CDDS_PREPAINT) {
        *pResult = CDRF_NOTIFYITEMDRAW;
    } else if (cd->dwDrawStage == CDDS_ITEMPREPAINT && cd->dwItemSpec == TBCD_CHANNEL) {
        if (!m_background.m_hObject)
            TakeBackground();
        if (m_background.m_hObject) {
            CRect rc;
            GetClientRect(&rc);
            CDC mem;
            mem.CreateCompatibleDC(CDC::FromHandle(cd->hdc));
            CBitmap* pOld = mem.SelectObject(&m_background);
            ::BitBlt(cd->hdc, 0, 0, rc.Width(), rc.Height(), mem.m_hDC, 0, 0, SRCCOPY);
            mem.SelectObject(pOld);
        }
    }
}

BOOL CSkinSliderCtrl::OnEraseBkgnd(CDC*) { return FALSE; }
