#include "CWebPoolView.h"

#include <algorithm>

#include "CWebViewBase.h"

BEGIN_MESSAGE_MAP(CWebPoolView, CView)
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CWebPoolView::CWebPoolView(CWebFrameBase* frame) : m_frame(frame) {}

CWebPoolView::~CWebPoolView() {}

CWebViewBase* CWebPoolView::Acquire(uint32_t tabId)
{
    CWebViewBase* view = nullptr;
    if (!m_pool.empty()) {
        view = m_pool.back();
        m_pool.pop_back();
    } else if (m_hWnd) {
        view = MakeView();
        CRect r;
        GetClientRect(&r);
        // A view that cannot be made frees itself with its window.
        if (view && !view->Create(NULL, NULL, WS_CHILD, r, this, m_nextId++))
            view = nullptr;
    }
    if (!view)
        return nullptr;
    view->Attach(m_frame);
    view->SetTabId(tabId);
    m_live.push_back(view);
    return view;
}

CWebViewBase* CWebPoolView::Find(uint32_t tabId) const
{
    if (!tabId)
        return nullptr;
    for (CWebViewBase* v : m_live)
        if (v->GetTabId() == tabId)
            return v;
    return nullptr;
}

void CWebPoolView::Release(uint32_t tabId)
{
    CWebViewBase* view = Find(tabId);
    if (!view)
        return;
    m_live.erase(std::remove(m_live.begin(), m_live.end(), view), m_live.end());
    if (m_active == view)
        m_active = nullptr;
    view->Release();
    m_pool.push_back(view);
    if (m_hWnd)
        Invalidate();
}

void CWebPoolView::ReleaseAll()
{
    while (!m_live.empty())
        Release(m_live.back()->GetTabId());
    m_active = nullptr;
}

void CWebPoolView::Activate(CWebViewBase* view)
{
    if (!view || std::find(m_live.begin(), m_live.end(), view) == m_live.end())
        return;
    for (CWebViewBase* v : m_live)
        if (v != view && v->m_hWnd)
            v->ShowWindow(SW_HIDE);
    m_active = view;
    CRect r;
    GetClientRect(&r);
    view->MoveWindow(&r);
    view->ShowWindow(SW_SHOW);
}

void CWebPoolView::OnDraw(CDC*) {}

void CWebPoolView::OnSize(UINT type, int cx, int cy)
{
    CView::OnSize(type, cx, cy);
    if (m_active && m_active->m_hWnd)
        m_active->MoveWindow(0, 0, cx, cy);
}

void CWebPoolView::OnDestroy()
{
    // The views go with their windows.
    m_live.clear();
    m_pool.clear();
    m_active = nullptr;
    CView::OnDestroy();
}
