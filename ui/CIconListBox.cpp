#include "CIconListBox.h"

CIconListBox::PFN_CONTROL_RIGHT CIconListBox::s_pfnControlRight = NULL;

BEGIN_MESSAGE_MAP(CIconListBox, CListBox)
    ON_WM_LBUTTONDOWN()
    ON_CONTROL_REFLECT_EX(LBN_SELCHANGE, OnSelChange)
    ON_CONTROL_REFLECT_EX(LBN_SELCANCEL, OnSelCancel)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CIconListBox::CIconListBox() : m_cxImage(0), m_cyImage(0), m_hOldBitmap(NULL), m_pLayoutTarget(NULL)
{
    HDC hScreen = ::GetDC(NULL);
    m_memDC.Attach(::CreateCompatibleDC(hScreen));
    ::ReleaseDC(NULL, hScreen);
}

CIconListBox::~CIconListBox()
{
    if (m_hOldBitmap)
        m_memDC.SelectObject(m_hOldBitmap);
    m_memDC.DeleteDC();
}

void CIconListBox::SetControlRightQuery(PFN_CONTROL_RIGHT pfn) { s_pfnControlRight = pfn; }

BOOL CIconListBox::SetImageStrip(UINT nBitmapId, int nImageWidth)
{
    HBITMAP h = (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nBitmapId),
                                      IMAGE_BITMAP, 0, 0, 0);
    return SetImageStrip(h, nImageWidth);
}

BOOL CIconListBox::SetImageStrip(HBITMAP hStrip, int nImageWidth)
{
    if (!hStrip)
        return FALSE;
    if (m_hOldBitmap) {
        m_memDC.SelectObject(m_hOldBitmap);
        m_hOldBitmap = NULL;
    }
    m_strip.DeleteObject();
    m_strip.Attach(hStrip);
    BITMAP bm = {};
    m_strip.GetBitmap(&bm);
    m_cxImage = nImageWidth;
    m_cyImage = bm.bmHeight;
    m_hOldBitmap = m_memDC.SelectObject((HGDIOBJ)hStrip);
    if (m_hWnd)
        Invalidate();
    return TRUE;
}

void CIconListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMIS)
{
    CRect rc(0, 0, 0, 0);
    if (m_hWnd)
        GetClientRect(&rc);
    lpMIS->itemWidth = rc.Width();
    lpMIS->itemHeight = 89;
}

void CIconListBox::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CRect rc(lpDIS->rcItem);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    if ((int)lpDIS->itemID < 0)
        return;
    if (m_hOldBitmap)
        pDC->BitBlt(rc.left + 1, rc.top + 1, m_cxImage, m_cyImage, &m_memDC,
                    (int)lpDIS->itemID * m_cxImage, 0, SRCCOPY);
    if (lpDIS->itemState & ODS_FOCUS) {
        CBrush frame;
        frame.CreateSolidBrush(0x7B1000);
        pDC->FrameRect(&rc, &frame);
    }
}

void CIconListBox::OnLButtonDown(UINT nFlags, CPoint point)
{
    CListBox::OnLButtonDown(nFlags, point);
}

BOOL CIconListBox::OnSelChange()
{
    int sel = GetCurSel();
    BOOL allowed = s_pfnControlRight ? s_pfnControlRight() : TRUE;
    if (allowed && sel != LB_ERR) {
        CWnd* pTarget = m_pLayoutTarget ? m_pLayoutTarget : AfxGetMainWnd();
        if (pTarget && pTarget->m_hWnd)
            pTarget->SendMessage(WM_LAYOUT_REQUEST, (WPARAM)sel, 0);
    }
    return FALSE;
}

BOOL CIconListBox::OnSelCancel() { return FALSE; }

BOOL CIconListBox::OnEraseBkgnd(CDC*) { return TRUE; }
