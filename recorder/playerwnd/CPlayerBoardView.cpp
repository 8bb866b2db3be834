#include "CPlayerBoardView.h"

#include "CWBChange.h"
#include "CWBPicture.h"
#include "IBoardBackgrounds.h"

#include <cstring>
#include <vector>

namespace caskel {

WBViewSettings::WBViewSettings() : zoomNum(100), zoomDen(100), frame(nullptr), backgrounds(nullptr)
{
    std::memset(&font, 0, sizeof font);
    font.lfHeight = -15;
    font.lfWeight = 400;
    std::strcpy(font.lfFaceName, "宋体");
}

IMPLEMENT_DYNCREATE(CWBView, CScrollView)

BEGIN_MESSAGE_MAP(CWBView, CScrollView)
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CWBView::CWBView()
    : m_settings(nullptr), m_viewId(0), m_currentPage(0), m_pageSize{0, 0}, m_pageBitmapTried(false)
{}

CWBView::~CWBView() {}

BOOL CWBView::Open(CWnd* parent, WBViewSettings* settings, uint32_t viewId, const std::string& name,
                   SIZE pageSize, int pageCount)
{
    if (!parent || !settings || pageCount <= 0 || pageSize.cx <= 0 || pageSize.cy <= 0)
        return FALSE;
    if (!m_document.CreateBlank(pageCount, 0))
        return FALSE;
    m_document.SetPageSize(pageSize);
    m_settings = settings;
    m_viewId = viewId;
    m_name = name;
    m_pageSize = pageSize;
    CRect rc;
    parent->GetClientRect(&rc);
    if (!Create(NULL, NULL, WS_CHILD | WS_HSCROLL | WS_VSCROLL, rc, parent, 0))
        return FALSE;
    Rescale();
    return TRUE;
}

void CWBView::Rescale()
{
    DropPageBitmap();
    if (!m_hWnd || !m_settings)
        return;
    CSize total(::MulDiv(m_pageSize.cx, m_settings->zoomNum, m_settings->zoomDen),
                ::MulDiv(m_pageSize.cy, m_settings->zoomNum, m_settings->zoomDen));
    SetScrollSizes(MM_TEXT, total, CSize(50, 50), CSize(10, 10));
    Invalidate(TRUE);
}

CRect CWBView::DocToClient(const RECT& rc) const
{
    const int num = m_settings ? m_settings->zoomNum : 100;
    const int den = m_settings ? m_settings->zoomDen : 100;
    CPoint scroll = m_hWnd ? GetScrollPosition() : CPoint(0, 0);
    return CRect(::MulDiv(rc.left, num, den) - scroll.x, ::MulDiv(rc.top, num, den) - scroll.y,
                 ::MulDiv(rc.right, num, den) - scroll.x, ::MulDiv(rc.bottom, num, den) - scroll.y);
}

BOOL CWBView::ApplyChange(const BYTE* record, UINT length)
{
    if (!record || length == 0)
        return FALSE;
    CWBChange::Result result;
    CRect removed;
    bool erase = true;
    BOOL ok =
        CWBChange::Apply(m_document, record, length, m_currentPage, result, [&](CDrawObj* obj) {
            RECT r;
            obj->GetUpdateRect(&r);
            removed.UnionRect(removed, &r);
        });
    if (!ok || !result.touchedCurrent || !m_hWnd)
        return ok;
    CRect area = result.redraw;
    if (result.action == CWBChange::actionDelete) {
        // What was taken away is drawn over without erasing first.
        area.UnionRect(area, removed);
        erase = false;
    }
    area.InflateRect(2, 2);
    CRect client = DocToClient(area);
    InvalidateRect(&client, erase);
    return ok;
}

int CWBView::SetPage(int index)
{
    if (index < 0 || index >= m_document.GetPageCount() || index == m_currentPage)
        return 0;
    m_currentPage = index;
    DropPageBitmap();
    if (m_hWnd)
        Invalidate(TRUE);
    return 1;
}

void CWBView::DropPageBitmap()
{
    m_pageBitmap.DeleteObject();
    m_pageBitmapTried = false;
}

BOOL CWBView::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, RGB(0x80, 0x80, 0x80));
    return TRUE;
}

void CWBView::DrawPage(CDC* pDC, int cx, int cy)
{
    if (!m_pageBitmapTried) {
        m_pageBitmapTried = true;
        std::vector<uint8_t> bytes;
        CWBPicture picture;
        if (m_settings && m_settings->backgrounds &&
            m_settings->backgrounds->ReadBackground(m_viewId, static_cast<uint32_t>(m_currentPage),
                                                    &bytes) &&
            picture.Load(bytes.data(), static_cast<DWORD>(bytes.size())))
            picture.Render(pDC, cx, cy, m_pageBitmap);
    }
    if (!m_pageBitmap.GetSafeHandle()) {
        pDC->FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
        return;
    }
    CDC mdc;
    mdc.CreateCompatibleDC(pDC);
    CBitmap* old = mdc.SelectObject(&m_pageBitmap);
    pDC->BitBlt(0, 0, cx, cy, &mdc, 0, 0, SRCCOPY);
    mdc.SelectObject(old);
}

void CWBView::OnDraw(CDC* pDC)
{
    if (!m_settings)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    const int num = m_settings->zoomNum, den = m_settings->zoomDen;
    const int cx = ::MulDiv(m_pageSize.cx, num, den), cy = ::MulDiv(m_pageSize.cy, num, den);
    CPoint scroll = GetScrollPosition();
    // Everything is drawn off the screen first and copied in one step.
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(pDC) ||
        !bitmap.CreateCompatibleBitmap(pDC, client.Width(), client.Height()))
        return;
    CBitmap* oldBitmap = mem.SelectObject(&bitmap);
    mem.SetViewportOrg(-scroll.x, -scroll.y);
    mem.FillSolidRect(scroll.x, scroll.y, client.Width(), client.Height(), RGB(0x80, 0x80, 0x80));
    DrawPage(&mem, cx, cy);
    if (CWBPage* page = m_document.GetPage(m_currentPage)) {
        for (POSITION pos = page->GetHeadPosition(); pos;) {
            CDrawObj* obj = page->GetNext(pos);
            if (num == den)
                obj->Draw(&mem);
            else
                obj->DrawScaled(&mem, num, den);
        }
    }
    mem.SetViewportOrg(0, 0);
    pDC->SetViewportOrg(0, 0);
    pDC->BitBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(oldBitmap);
}

} // namespace caskel
