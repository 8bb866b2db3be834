#include "CFlatHeaderCtrl.h"

#include <string.h>

BEGIN_MESSAGE_MAP(CFlatHeaderCtrl, CHeaderCtrl)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_CANCELMODE()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
END_MESSAGE_MAP()

namespace {

int CALLBACK FindFamily(const LOGFONTA* lf, const TEXTMETRICA*, DWORD, LPARAM lParam)
{
    if (lstrcmpiA(lf->lfFaceName, "Tahoma") == 0) {
        *(BOOL*)lParam = TRUE;
        return 0;
    }
    return 1;
}

} // namespace

CFlatHeaderCtrl::CFlatHeaderCtrl() : m_bLButtonDown(FALSE), m_nHotItem(-1)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    LOGFONTA lf = {};
    lf.lfHeight = ncm.lfMenuFont.lfHeight;
    lf.lfWeight = ncm.lfMenuFont.lfWeight;
    lf.lfItalic = ncm.lfMenuFont.lfItalic;
    lf.lfUnderline = ncm.lfMenuFont.lfUnderline;
    lf.lfStrikeOut = ncm.lfMenuFont.lfStrikeOut;
    HDC hScreen = ::GetDC(NULL);
    lf.lfCharSet = (BYTE)::GetTextCharset(hScreen);
    strcpy(lf.lfFaceName, ncm.lfMenuFont.lfFaceName);
    BYTE cs = ncm.lfMenuFont.lfCharSet;
    if (cs == ANSI_CHARSET || cs == DEFAULT_CHARSET || cs == SYMBOL_CHARSET) {
        BOOL found = FALSE;
        LOGFONTA probe = {};
        probe.lfCharSet = DEFAULT_CHARSET;
        ::EnumFontFamiliesExA(hScreen, &probe, FindFamily, (LPARAM)&found, 0);
        strcpy(lf.lfFaceName, found ? "Tahoma" : "MS Sans Serif");
    }
    ::ReleaseDC(NULL, hScreen);
    m_font.CreateFontIndirect(&lf);

    m_cr3DFace = ::GetSysColor(COLOR_3DFACE);
    m_cr3DShadow = ::GetSysColor(COLOR_3DSHADOW);
    m_cr3DHighLight = ::GetSysColor(COLOR_3DHIGHLIGHT);
    m_crBtnText = ::GetSysColor(COLOR_BTNTEXT);
    m_crWindowFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    m_cr3DDkShadow = ::GetSysColor(COLOR_3DDKSHADOW);
    m_cr3DLight = ::GetSysColor(COLOR_3DLIGHT);
    m_brFace.Attach(::GetSysColorBrush(COLOR_BTNFACE));
}

CFlatHeaderCtrl::~CFlatHeaderCtrl()
{
    m_brFace.Detach(); // a system brush is never deleted
}

BOOL CFlatHeaderCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

int CFlatHeaderCtrl::ItemAt(CPoint point) const
{
    HDHITTESTINFO hti = {};
    hti.pt = point;
    ::SendMessageA(m_hWnd, HDM_HITTEST, 0, (LPARAM)&hti);
    return (hti.flags & HHT_ONHEADER) ? hti.iItem : -1;
}

void CFlatHeaderCtrl::DrawBackground(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    HBITMAP hBk =
        (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(614), IMAGE_BITMAP, 0, 0, 0);
    if (hBk) {
        HBRUSH br = ::CreatePatternBrush(hBk);
        ::FillRect(pDC->m_hDC, &rc, br);
        ::DeleteObject(br);
        ::DeleteObject(hBk);
    } else {
        pDC->FillRect(&rc, &m_brFace);
    }
}

void CFlatHeaderCtrl::Paint(CDC* pDC, const CRect& rc)
{
    DrawBackground(pDC);
    CFont* pOldFont = pDC->SelectObject(&m_font);
    pDC->SetTextColor(m_crBtnText);
    pDC->SetBkMode(TRANSPARENT);
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    int count = GetItemCount();
    int lastRight = 0;
    for (int i = 0; i < count; ++i) {
        CRect item;
        ::SendMessageA(m_hWnd, HDM_GETITEMRECT, i, (LPARAM)&item);
        BOOL pressed = m_bLButtonDown && ItemAt(cursor) == i;
        CRgn clip;
        clip.CreateRectRgnIndirect(&item);
        pDC->SelectClipRgn(&clip);
        DrawItem(pDC, i, item.left, item.top, item.right, item.bottom, pressed, i == m_nHotItem);
        ::SelectClipRgn(pDC->m_hDC, NULL);
        lastRight = item.right;
    }
    CRect rest(count ? lastRight : rc.left, rc.top, rc.right + 1, rc.bottom);
    if (rest.left < rc.right)
        DrawItem(pDC, -1, rest.left, rest.top, rest.right, rest.bottom, FALSE, FALSE);
    pDC->SelectObject(pOldFont);
}

void CFlatHeaderCtrl::OnPaint()
{
    CPaintDC dc(this);
    CRect rc;
    GetClientRect(&rc);
    CDC mem;
    CBitmap bmp;
    if (!rc.IsRectEmpty() && mem.CreateCompatibleDC(&dc) &&
        bmp.CreateCompatibleBitmap(&dc, rc.Width(), rc.Height())) {
        CBitmap* pOld = mem.SelectObject(&bmp);
        Paint(&mem, rc);
        dc.BitBlt(0, 0, rc.Width(), rc.Height(), &mem, 0, 0, SRCCOPY);
        mem.SelectObject(pOld);
    } else {
        Paint(&dc, rc);
    }
}

void CFlatHeaderCtrl::DrawItem(CDC* pDC, int nIndex, int left, int top, int right, int bottom,
                               BOOL bPressed, BOOL)
{
    CRect rc(left, top, right, bottom);
    if (bPressed) {
        pDC->Draw3dRect(&rc, m_cr3DShadow, m_cr3DShadow);
        rc.OffsetRect(1, 1);
    } else {
        pDC->Draw3dRect(&rc, m_cr3DHighLight, m_cr3DShadow);
    }
    if (nIndex < 0)
        return;
    char text[256] = "";
    HDITEMA hdi = {};
    hdi.mask = HDI_TEXT | HDI_FORMAT | HDI_IMAGE | HDI_BITMAP;
    hdi.pszText = text;
    hdi.cchTextMax = 255;
    if (!GetItem(nIndex, &hdi))
        return;
    HBITMAP hBk =
        (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(614), IMAGE_BITMAP, 0, 0, 0);
    if (hBk) {
        BITMAP bm = {};
        ::GetObjectA(hBk, sizeof(bm), &bm);
        HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
        HGDIOBJ old = ::SelectObject(hMem, hBk);
        ::StretchBlt(pDC->m_hDC, rc.left, rc.top, rc.Width() - 1, rc.Height(), hMem, 0, 0,
                     bm.bmWidth, bm.bmHeight, SRCCOPY);
        ::SelectObject(hMem, old);
        ::DeleteDC(hMem);
        ::DeleteObject(hBk);
    }
    HIMAGELIST hImages = (HIMAGELIST)::SendMessageA(m_hWnd, HDM_GETIMAGELIST, 0, 0);
    if ((hdi.fmt & HDF_IMAGE) && hdi.iImage >= 0 && hImages) {
        int cx = 0, cy = 0;
        ImageList_GetIconSize(hImages, &cx, &cy);
        ImageList_Draw(hImages, hdi.iImage, pDC->m_hDC, rc.left + 1,
                       rc.top + (rc.Height() - cy) / 2, ILD_TRANSPARENT);
        rc.left += cx + 1;
    }
    if ((hdi.fmt & HDF_BITMAP) && hdi.hbm) {
        BITMAP bm = {};
        ::GetObjectA(hdi.hbm, sizeof(bm), &bm);
        int y = rc.top + (rc.Height() - bm.bmHeight) / 2;
        if (y < rc.top)
            y = rc.top;
        int x = (hdi.fmt & HDF_BITMAP_ON_RIGHT) ? rc.right - 1 - bm.bmWidth : rc.left + 1;
        HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
        HGDIOBJ old = ::SelectObject(hMem, hdi.hbm);
        ::BitBlt(pDC->m_hDC, x, y, bm.bmWidth, bm.bmHeight, hMem, 0, 0, SRCCOPY);
        ::SelectObject(hMem, old);
        ::DeleteDC(hMem);
        if (hdi.fmt & HDF_BITMAP_ON_RIGHT)
            rc.right = x;
        else
            rc.left = x + bm.bmWidth;
    }
    if (hdi.fmt & HDF_STRING) {
        CRect t = rc;
        t.DeflateRect(5, 5);
        UINT fmt = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
        if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_CENTER)
            fmt |= DT_CENTER;
        else if ((hdi.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT)
            fmt |= DT_RIGHT;
        pDC->DrawText(text, -1, &t, fmt);
    }
}

void CFlatHeaderCtrl::DrawSortArrow(CDC* pDC, int left, int top, int right, int bottom)
{
    // No column of this system is sorted; the hook stays for derived headers.
    (void)pDC;
    (void)left;
    (void)top;
    (void)right;
    (void)bottom;
}

void CFlatHeaderCtrl::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_bLButtonDown = TRUE;
    CHeaderCtrl::OnLButtonDown(nFlags, point);
}

void CFlatHeaderCtrl::OnLButtonUp(UINT nFlags, CPoint point)
{
    m_bLButtonDown = FALSE;
    CHeaderCtrl::OnLButtonUp(nFlags, point);
}

void CFlatHeaderCtrl::OnMouseMove(UINT nFlags, CPoint point)
{
    int hot = ItemAt(point);
    if (hot != m_nHotItem) {
        m_nHotItem = hot;
        Invalidate();
        TRACKMOUSEEVENT tme = {sizeof(tme), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&tme);
    }
    CHeaderCtrl::OnMouseMove(nFlags, point);
}

void CFlatHeaderCtrl::OnCancelMode()
{
    CHeaderCtrl::OnCancelMode();
    m_bLButtonDown = FALSE;
    if (m_nHotItem != -1) {
        m_nHotItem = -1;
        Invalidate();
    }
}

LRESULT CFlatHeaderCtrl::OnMouseLeave(WPARAM, LPARAM)
{
    if (m_nHotItem != -1) {
        m_nHotItem = -1;
        Invalidate();
    }
    return 0;
}
