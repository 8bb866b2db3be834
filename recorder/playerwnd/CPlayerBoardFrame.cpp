#include "CPlayerBoardFrame.h"

#include "PlayerMessages.h"
#include "WireReader.h"

namespace caskel {

BEGIN_MESSAGE_MAP(CWBFrame, CFrameWnd)
    ON_MESSAGE(WM_PLAY_BOARDDATA, OnPlayBoardData)
    ON_MESSAGE(WM_PLAY_BOARDCLEAR, OnPlayBoardClear)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

CWBFrame::CWBFrame()
{
}

BOOL CWBFrame::CreateBoard(CWnd* parent, UINT id)
{
    RECT rc = {0, 0, 0, 0};
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    if (!Create(cls, "", WS_CHILD | WS_VISIBLE, rc, parent))
        return FALSE;
    ::SetWindowLongPtrA(m_hWnd, GWLP_ID, id);
    return TRUE;
}

CWBFrame::Document* CWBFrame::Find(uint32_t viewId)
{
    for (Document& d : m_documents)
        if (d.viewId == viewId)
            return &d;
    return nullptr;
}

void CWBFrame::CloseAll()
{
    m_documents.clear();
    m_hasActive = false;
    m_active = 0;
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

size_t CWBFrame::OnBoardData(const unsigned char* data, size_t length)
{
    size_t used = 0;
    while (data && used < length) {
        const unsigned char* p = data + used;
        const size_t left = length - used;
        size_t n = 0;
        switch (p[0]) {
        case 1: n = OnChange(p, left); break;
        case 2: n = OnOpen(p, left); break;
        case 3:
        case 4: n = OnViewRecord(p, left); break;
        case 5: n = OnZoom(p, left); break;
        case 6: n = OnPage(p, left); break;
        // A view setting the player does not follow: skipped, so that the
        // rest of the run still counts.
        case 8: n = left >= 5 ? 5 : 0; break;
        default: n = 0; break;   // 7 ends a run; anything else is not ours
        }
        if (n == 0)
            break;
        used += n;
    }
    if (used && m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
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
    if (Document* doc = Find(viewId))
        ApplyChange(*doc, r.Current(), changeLength);
    return 7 + changeLength;
}

void CWBFrame::ApplyChange(Document& doc, const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t action;
    if (!r.U8(action))
        return;
    if (action == 1) {
        uint32_t count;
        uint16_t objectsLength;
        if (n <= 7 || !r.U32(count) || !r.U16(objectsLength) || objectsLength + 7u != n)
            return;
        // Each object: page, type, id, blob length, blob; bounded by the
        // bytes left, and only for pages the document has.
        for (uint32_t i = 0; i < count && r.Remaining() > 0; ++i) {
            uint8_t page, type;
            uint32_t id;
            uint16_t blob;
            if (!r.U8(page) || !r.U8(type) || !r.U32(id) || !r.U16(blob) || !r.Skip(blob))
                return;
            if (page < doc.changes.size())
                ++doc.changes[page];
        }
    } else if (action == 2) {
        uint8_t page;
        uint16_t count;
        if (!r.U8(page) || !r.U16(count) || n != 4u + 4u * count)
            return;
        if (page < doc.changes.size())
            ++doc.changes[page];
    }
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
    if (pages == 0 || static_cast<int32_t>(width) <= 0 || static_cast<int32_t>(height) <= 0)
        return total;   // nothing that could be shown
    Document* doc = Find(viewId);
    if (!doc) {
        m_documents.push_back(Document{viewId, name, width, height, pages, 0,
                                       std::vector<uint32_t>(pages, 0)});
    }
    m_active = viewId;
    m_hasActive = true;
    return total;
}

size_t CWBFrame::OnViewRecord(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind;
    uint32_t viewId;
    if (!r.U8(kind) || !r.U32(viewId))
        return 0;
    if (kind == 3) {
        for (size_t i = 0; i < m_documents.size(); ++i)
            if (m_documents[i].viewId == viewId) {
                m_documents.erase(m_documents.begin() + i);
                break;
            }
        if (m_hasActive && m_active == viewId)
            m_hasActive = false;
    } else if (Find(viewId)) {
        m_active = viewId;
        m_hasActive = true;
    }
    return 5;
}

size_t CWBFrame::OnZoom(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind;
    uint16_t zoom, base;
    if (!r.U8(kind) || !r.U16(zoom) || !r.U16(base))
        return 0;
    if (base == 100 && zoom >= 25 && zoom <= 400)
        m_zoom = zoom;
    return 5;
}

size_t CWBFrame::OnPage(const unsigned char* p, size_t n)
{
    WireReader r(p, n);
    uint8_t kind, page;
    uint32_t viewId;
    if (!r.U8(kind) || !r.U32(viewId) || !r.U8(page))
        return 0;
    Document* doc = Find(viewId);
    if (doc && page < doc->pageCount)
        doc->currentPage = page;
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

BOOL CWBFrame::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CWBFrame::OnPaint()
{
    PAINTSTRUCT ps;
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HBRUSH grey = ::CreateSolidBrush(RGB(0x80, 0x80, 0x80));
    ::FillRect(dc, &client, grey);
    ::DeleteObject(grey);
    if (m_hasActive) {
        if (Document* doc = Find(m_active)) {
            RECT page = {0, 0, static_cast<LONG>(doc->width * m_zoom / 100),
                         static_cast<LONG>(doc->height * m_zoom / 100)};
            ::FillRect(dc, &page, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        }
    }
    ::EndPaint(m_hWnd, &ps);
}

}  // namespace caskel
