#include "CBitmapTabCtrl.h"

#include "CMemoryDC.h"
#include "UiFont.h"

BEGIN_MESSAGE_MAP(CBitmapTabCtrl, CSkinTabCtrl)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_SETCURSOR()
    ON_WM_NCHITTEST()
END_MESSAGE_MAP()

CBitmapTabCtrl::CBitmapTabCtrl()
{
    m_hHand = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(379));
    m_inactive.LoadFromFile("skins\\L0.bmp", 5, 30, TRUE);
    m_current.LoadFromFile("Skins\\L1.bmp", 5, 30, TRUE);
}

CBitmapTabCtrl::~CBitmapTabCtrl() {}

int CBitmapTabCtrl::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CSkinTabCtrl::OnCreate(lpcs) == -1)
        return -1;
    return 0;
}

void CBitmapTabCtrl::OnSize(UINT nType, int cx, int cy) { CSkinTabCtrl::OnSize(nType, cx, cy); }

void CBitmapTabCtrl::GetPageRect(RECT* pRect)
{
    CRect rc;
    GetClientRect(&rc);
    int h = m_inactive.GetHeight();
    if (GetStyle() & TCS_BOTTOM)
        rc.bottom -= h;
    else
        rc.top += h;
    rc.DeflateRect(1, 1);
    *pRect = rc;
}

BOOL CBitmapTabCtrl::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, 0xEFEFEF);
    CRect page;
    GetPageRect(&page);
    page.InflateRect(1, 1);
    CBrush frame;
    frame.CreateSolidBrush(0xB39A98);
    pDC->FrameRect(&page, &frame);
    return TRUE;
}

void CBitmapTabCtrl::OnPaint()
{
    CPaintDC dc(this);
    int count = GetItemCount();
    int sel = GetCurSel();
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count; ++i) {
            if ((pass == 0) == (i == sel))
                continue;
            CRect rc;
            if (!GetItemRect(i, &rc))
                continue;
            char text[1025] = "";
            TCITEMA item = {};
            item.mask = TCIF_TEXT | TCIF_IMAGE;
            item.pszText = text;
            item.cchTextMax = 1024;
            if (!GetItem(i, &item))
                continue;
            HICON hIcon = NULL;
            if (item.iImage != -1 && GetImageList())
                hIcon = ImageList_GetIcon(GetImageList()->GetSafeHandle(), item.iImage, ILD_NORMAL);
            if (i == sel)
                rc.top -= 1;
            DrawTab(&dc, rc, text, hIcon, i == sel ? 1 : 0);
            if (hIcon)
                ::DestroyIcon(hIcon);
        }
    }
}

void CBitmapTabCtrl::DrawTab(CDC* pDC, CRect rc, LPCSTR lpszText, HICON hIcon, int nState)
{
    (nState == 0 ? m_inactive : m_current).Draw(pDC, rc.left, rc.top, rc.Width(), rc.Height());
    int oldMode = pDC->SetBkMode(TRANSPARENT);
    CFont* pOldFont = pDC->SelectObject(GetUiFont());
    int w = 0, h = 0;
    if (hIcon) {
        ICONINFO ii = {};
        if (::GetIconInfo(hIcon, &ii)) {
            BITMAP bm = {};
            if (ii.hbmColor && ::GetObjectA(ii.hbmColor, sizeof(bm), &bm)) {
                w = bm.bmWidth;
                h = bm.bmHeight;
            }
            if (ii.hbmColor)
                ::DeleteObject(ii.hbmColor);
            if (ii.hbmMask)
                ::DeleteObject(ii.hbmMask);
        }
    }
    int t = pDC->GetTextExtent(lpszText, (int)strlen(lpszText)).cx;
    int x = rc.left + (rc.Width() - t - w / 2 - w) / 2;
    if (hIcon)
        ::DrawIconEx(pDC->m_hDC, x, rc.top + (rc.Height() - h) / 2, hIcon, w, h, 0, NULL,
                     DI_NORMAL);
    COLORREF oldColor = pDC->SetTextColor(nState == 0 ? 0x505050 : 0x000000);
    CRect text(x + w + w / 2, rc.top, rc.right, rc.bottom);
    pDC->DrawText(lpszText, -1, &text, DT_SINGLELINE | DT_VCENTER);
    pDC->SetTextColor(oldColor);
    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(oldMode);
}

BOOL CBitmapTabCtrl::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (!pWnd || pWnd->m_hWnd != m_hWnd)
        return CSkinTabCtrl::OnSetCursor(pWnd, nHitTest, message);
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    TCHITTESTINFO hti = {pt, 0};
    HitTest(&hti);
    if ((hti.flags & TCHT_ONITEM) && m_hHand)
        ::SetCursor(m_hHand);
    else
        ::SetCursor(::LoadCursorA(NULL, IDC_ARROW));
    return TRUE;
}

UINT CBitmapTabCtrl::OnNcHitTest(CPoint point)
{
    UINT hit = CSkinTabCtrl::OnNcHitTest(point);
    return hit == (UINT)HTTRANSPARENT ? HTCLIENT : hit;
}
