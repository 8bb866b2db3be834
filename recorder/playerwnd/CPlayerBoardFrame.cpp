#include "CPlayerBoardFrame.h"

#include "CPlayerBoardViewMan.h"
#include "CScopedLock.h"
#include "PlayerMessages.h"
#include "WireReader.h"

namespace caskel {

BEGIN_MESSAGE_MAP(CWBFrame, CFrameWnd)
    ON_MESSAGE(WM_PLAY_BOARDDATA, OnPlayBoardData)
    ON_MESSAGE(WM_PLAY_BOARDCLEAR, OnPlayBoardClear)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CWBFrame::CWBFrame()
{
    m_settings.frame = this;
    ::InitializeCriticalSection(&m_lock);
}

CWBFrame::~CWBFrame() { ::DeleteCriticalSection(&m_lock); }

BOOL CWBFrame::CreateBoard(CWnd* parent, UINT id)
{
    RECT rc = {0, 0, 0, 0};
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    if (!Create(cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, parent))
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, id);
    return m_manager != nullptr;
}

int CWBFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CFrameWnd::OnCreate(cs) == -1)
        return -1;
    m_manager = static_cast<CWBViewManView*>(RUNTIME_CLASS(CWBViewManView)->CreateObject());
    if (!m_manager->CreateManager(this)) {
        // A manager without a window was never attached to one: free it here.
        if (!m_manager->m_hWnd)
            delete m_manager;
        m_manager = nullptr;
        return -1;
    }
    return 0;
}

void CWBFrame::OnSize(UINT type, int cx, int cy)
{
    CFrameWnd::OnSize(type, cx, cy);
    if (m_manager && m_manager->m_hWnd)
        m_manager->MoveWindow(0, 0, cx, cy);
}

std::vector<CWBFrame::Document> CWBFrame::Documents() const
{
    std::vector<Document> out;
    if (!m_manager)
        return out;
    for (int i = 0; i < m_manager->GetViewCount(); ++i) {
        CWBView* view = m_manager->GetView(i);
        SIZE size = view->GetPageSize();
        Document doc{view->GetViewId(),
                     view->GetName(),
                     static_cast<uint32_t>(size.cx),
                     static_cast<uint32_t>(size.cy),
                     view->GetPageCount(),
                     view->GetCurrentPage(),
                     {}};
        for (int page = 0; page < view->GetPageCount(); ++page)
            doc.objects.push_back(view->GetDocument().GetPage(page)->GetCount());
        out.push_back(doc);
    }
    return out;
}

uint32_t CWBFrame::ActiveView() const
{
    CWBView* view = m_manager ? m_manager->GetActiveView() : nullptr;
    return view ? view->GetViewId() : 0;
}

void CWBFrame::CloseAll()
{
    if (m_manager)
        m_manager->CloseAll();
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

size_t CWBFrame::OnBoardData(const unsigned char* data, size_t length)
{
    CScopedLock lock(&m_lock);
    size_t used = 0;
    while (data && used < length) {
        const unsigned char* p = data + used;
        const size_t left = length - used;
        size_t n = 0;
        switch (p[0]) {
        case 1:
            n = OnChange(p, left);
            break;
        case 2:
            n = OnOpen(p, left);
            break;
        case 3:
        case 4:
            n = OnViewRecord(p, left);
            break;
        case 5:
            n = OnZoom(p, left);
            break;
        case 6:
            n = OnPage(p, left);
            break;
        // A view setting the player does not follow: skipped, so that the
        // rest of the run still counts.
        case 8:
            n = left >= 5 ? 5 : 0;
            break;
        default:
            n = 0;
            break; // 7 ends a run; anything else is not ours
        }
        if (n == 0)
            break;
        used += n;
    }
    return used;
}

size_t CWBFrame::OnChange(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind;
    uint32_t viewId;
    uint16_t changeLength;
    if (!r.U8(kind) || !r.U32(viewId) || !r.U16(changeLength) || r.Remaining() < changeLength)
        return 0;
    // A change for a document not open here is passed over.
    if (CWBView* view = m_manager ? m_manager->FindView(viewId) : nullptr)
        view->ApplyChange(r.Current(), changeLength);
    return 7 + changeLength;
}

size_t CWBFrame::OnOpen(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind, pages, backgrounds, flag, value, nameLength, serverLength, idLength;
    uint32_t viewId, width, height;
    if (!r.U8(kind) || !r.U32(viewId) || !r.U32(width) || !r.U32(height) || !r.U8(pages) ||
        !r.U8(backgrounds) || !r.U8(flag) || !r.U8(value) || !r.U8(nameLength) ||
        !r.U8(serverLength) || !r.U8(idLength))
        return 0;
    const size_t total = 20u + nameLength + serverLength + idLength;
    if (n < total)
        return 0;
    std::string name(reinterpret_cast<const char*>(r.Current()), nameLength);
    if (pages == 0 || static_cast<int32_t>(width) <= 0 || static_cast<int32_t>(height) <= 0 ||
        !m_manager)
        return total; // nothing that could be shown
    if (m_manager->FindView(viewId))
        m_manager->ActivateView(viewId);
    else
        m_manager->OpenView(&m_settings, viewId, name,
                            SIZE{static_cast<LONG>(width), static_cast<LONG>(height)}, pages,
                            backgrounds);
    return total;
}

size_t CWBFrame::OnViewRecord(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind;
    uint32_t viewId;
    if (!r.U8(kind) || !r.U32(viewId))
        return 0;
    if (!m_manager)
        return 5;
    if (kind == 3)
        m_manager->CloseView(viewId);
    else
        m_manager->ActivateView(viewId);
    return 5;
}

size_t CWBFrame::OnZoom(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind;
    uint16_t zoom, base;
    if (!r.U8(kind) || !r.U16(zoom) || !r.U16(base))
        return 0;
    if (base == 100 && zoom >= 25 && zoom <= 400 && zoom != m_settings.zoomNum) {
        m_settings.zoomNum = zoom;
        m_settings.zoomDen = 100;
        if (m_manager)
            m_manager->ApplyZoom();
    }
    return 5;
}

size_t CWBFrame::OnPage(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind, page;
    uint32_t viewId;
    if (!r.U8(kind) || !r.U32(viewId) || !r.U8(page))
        return 0;
    if (CWBView* view = m_manager ? m_manager->FindView(viewId) : nullptr)
        view->SetPage(page);
    return 6;
}

LRESULT CWBFrame::OnPlayBoardData(WPARAM wParam, LPARAM lParam)
{
    if (wParam && lParam > 0)
        OnBoardData(reinterpret_cast<const unsigned char*>(wParam), static_cast<size_t>(lParam));
    return 0;
}

LRESULT CWBFrame::OnPlayBoardClear(WPARAM, LPARAM)
{
    CloseAll();
    return 0;
}

BOOL CWBFrame::OnEraseBkgnd(CDC* dc)
{
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    dc->FillSolidRect(&client, RGB(0x80, 0x80, 0x80));
    return TRUE;
}

} // namespace caskel
