#include "CPlayerVideoWall.h"

#include <algorithm>

#include "CScopedLock.h"
#include "PlayerLayout.h"

BEGIN_MESSAGE_MAP(CPlayerVideoWall, CWnd)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_DESTROY()
    ON_MESSAGE(WM_VIDEOWALL_LAYOUT, OnLayoutMessage)
END_MESSAGE_MAP()

CPlayerVideoWall::CPlayerVideoWall()
{
    InitializeCriticalSection(&m_lock);
    m_lockAlive = true;
}

CPlayerVideoWall::~CPlayerVideoWall()
{
    for (CPlayerVideoWnd* w : m_windows)
        delete w;
    m_windows.clear();
    if (m_lockAlive)
        DeleteCriticalSection(&m_lock);
}

BOOL CPlayerVideoWall::Create(CWnd* parent, UINT id)
{
    LPCSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    RECT rc = {0, 0, 0, 0};
    return CWnd::Create(cls, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, parent, id);
}

int CPlayerVideoWall::Find(uint32_t id) const
{
    for (size_t i = 0; i < m_windows.size(); ++i)
        if (m_windows[i]->GetVideoId() == id)
            return static_cast<int>(i);
    return -1;
}

void CPlayerVideoWall::PostLayout()
{
    if (m_hWnd)
        ::PostMessageA(m_hWnd, WM_VIDEOWALL_LAYOUT, 0, 0);
}

void CPlayerVideoWall::AddVideo(uint32_t id)
{
    {
        CScopedLock lock(&m_lock);
        DRAVO_HANDLE renderer = m_hWnd ? Dravo_CreateRenderer(m_hWnd) : 0;
        m_windows.push_back(new CPlayerVideoWnd(id, this, renderer));
    }
    PostLayout();
}

void CPlayerVideoWall::DelVideo(uint32_t id)
{
    {
        CScopedLock lock(&m_lock);
        int i = Find(id);
        if (i >= 0) {
            if (m_full == m_windows[i])
                m_full = nullptr;
            delete m_windows[i];
            m_windows.erase(m_windows.begin() + i);
        }
    }
    PostLayout();
}

void CPlayerVideoWall::MainVideo(uint32_t id)
{
    {
        CScopedLock lock(&m_lock);
        int i = Find(id);
        if (i > 0)
            std::rotate(m_windows.begin(), m_windows.begin() + i, m_windows.begin() + i + 1);
    }
    PostLayout();
}

void CPlayerVideoWall::LastVideo(uint32_t id)
{
    {
        CScopedLock lock(&m_lock);
        int i = Find(id);
        if (i < 0)
            return;
        CPlayerVideoWnd* w = m_windows[i];
        m_windows.erase(m_windows.begin() + i);
        m_windows.push_back(w);
    }
    PostLayout();
}

void CPlayerVideoWall::SwapVideo(uint32_t id1, uint32_t id2)
{
    {
        CScopedLock lock(&m_lock);
        int a = Find(id1), b = Find(id2);
        if (a >= 0 && b >= 0)
            std::swap(m_windows[a], m_windows[b]);
    }
    PostLayout();
}

bool CPlayerVideoWall::FullVideo(uint32_t id, uint32_t flag)
{
    bool found;
    {
        CScopedLock lock(&m_lock);
        int i = Find(id);
        found = i >= 0;
        if (found && flag) {
            m_full = m_windows[i];
            for (CPlayerVideoWnd* w : m_windows)
                w->SetVisible(w == m_full);
        } else if (found) {
            for (CPlayerVideoWnd* w : m_windows)
                w->SetVisible(1);
            m_full = nullptr;
        }
    }
    if (found && !flag && m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
    PostLayout();
    return found;
}

void CPlayerVideoWall::SetSplit(int mode, bool relayout)
{
    {
        CScopedLock lock(&m_lock);
        m_split = mode;
    }
    if (relayout)
        PostLayout();
}

int CPlayerVideoWall::GetSplit()
{
    CScopedLock lock(&m_lock);
    return m_split;
}

void CPlayerVideoWall::RemoveAll()
{
    CScopedLock lock(&m_lock);
    for (CPlayerVideoWnd* w : m_windows)
        delete w;
    m_windows.clear();
    m_full = nullptr;
    m_split = 0;
}

bool CPlayerVideoWall::RenderFrame(uint32_t id, const unsigned char* frame, int length)
{
    CScopedLock lock(&m_lock);
    int i = Find(id);
    if (i < 0)
        return false;
    m_windows[i]->Render(frame, length);
    return true;
}

std::vector<uint32_t> CPlayerVideoWall::VideoIds()
{
    CScopedLock lock(&m_lock);
    std::vector<uint32_t> ids;
    for (CPlayerVideoWnd* w : m_windows)
        ids.push_back(w->GetVideoId());
    return ids;
}

bool CPlayerVideoWall::GetVideoPlace(uint32_t id, RECT* rect, uint32_t* visible)
{
    CScopedLock lock(&m_lock);
    int i = Find(id);
    if (i < 0)
        return false;
    if (rect)
        *rect = m_windows[i]->GetRect();
    if (visible)
        *visible = m_windows[i]->IsVisible();
    return true;
}

void CPlayerVideoWall::LayOut()
{
    if (!m_hWnd)
        return;
    CScopedLock lock(&m_lock);
    if (m_windows.empty())
        return;
    RECT area;
    ::GetClientRect(m_hWnd, &area);
    int full = -1;
    for (size_t i = 0; i < m_windows.size(); ++i)
        if (m_windows[i] == m_full)
            full = static_cast<int>(i);
    std::vector<VideoCellPlace> places =
        LayOutVideoWall(area, m_split, static_cast<int>(m_windows.size()), full);
    for (size_t i = 0; i < m_windows.size(); ++i) {
        if (!places[i].placed)
            continue;
        m_windows[i]->SetVisible(places[i].shown);
        const RECT& rc = places[i].rect;
        m_windows[i]->SetPos(rc.left, rc.top, rc.right, rc.bottom);
    }
}

void CPlayerVideoWall::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    PostLayout();
}

BOOL CPlayerVideoWall::OnEraseBkgnd(CDC* dc)
{
    RECT rc;
    ::GetClientRect(m_hWnd, &rc);
    HBRUSH white = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    ::FillRect(dc->GetSafeHdc(), &rc, white);
    CScopedLock lock(&m_lock);
    for (CPlayerVideoWnd* w : m_windows)
        if (w->GetRenderer())
            Dravo_EraseBackground(w->GetRenderer());
    return TRUE;
}

void CPlayerVideoWall::OnDestroy()
{
    {
        CScopedLock lock(&m_lock);
        for (CPlayerVideoWnd* w : m_windows)
            delete w;
        m_windows.clear();
        m_full = nullptr;
    }
    CWnd::OnDestroy();
}

LRESULT CPlayerVideoWall::OnLayoutMessage(WPARAM, LPARAM)
{
    LayOut();
    Sleep(5);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}
