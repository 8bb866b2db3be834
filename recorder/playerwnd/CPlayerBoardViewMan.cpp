#include "CPlayerBoardViewMan.h"

#include "CPlayerBoardView.h"

namespace caskel {

IMPLEMENT_DYNCREATE(CWBViewManView, CView)

BEGIN_MESSAGE_MAP(CWBViewManView, CView)
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CWBViewManView::CWBViewManView() : m_nViews(0), m_pActive(nullptr) {}

CWBViewManView::~CWBViewManView() {}

BOOL CWBViewManView::CreateManager(CWnd* parent)
{
    CRect rc;
    parent->GetClientRect(&rc);
    return Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rc, parent, 0);
}

CWBView* CWBViewManView::GetView(int index) const
{
    POSITION pos = m_views.FindIndex(index);
    return pos ? static_cast<CWBView*>(m_views.GetAt(pos)) : nullptr;
}

CWBView* CWBViewManView::FindView(uint32_t viewId) const
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;) {
        CWBView* view = static_cast<CWBView*>(m_views.GetNext(pos));
        if (view->GetViewId() == viewId)
            return view;
    }
    return nullptr;
}

CWBView* CWBViewManView::OpenView(WBViewSettings* settings, uint32_t viewId,
                                  const std::string& name, SIZE pageSize, int pageCount,
                                  int backgroundCount)
{
    (void)backgroundCount;
    CWBView* view = static_cast<CWBView*>(RUNTIME_CLASS(CWBView)->CreateObject());
    if (!view)
        return nullptr;
    if (!view->Open(this, settings, viewId, name, pageSize, pageCount)) {
        // A view whose window exists frees itself with it.
        if (view->m_hWnd)
            view->DestroyWindow();
        else
            delete view;
        return nullptr;
    }
    m_views.AddTail(view);
    ++m_nViews;
    ActivateView(viewId);
    return view;
}

void CWBViewManView::CloseView(uint32_t viewId)
{
    CWBView* view = FindView(viewId);
    if (!view)
        return;
    m_views.RemoveAt(m_views.Find(view));
    --m_nViews;
    if (m_pActive == view)
        m_pActive = nullptr;
    view->DestroyWindow();
    if (m_hWnd)
        Invalidate(TRUE);
}

void CWBViewManView::CloseAll()
{
    while (!m_views.IsEmpty()) {
        CWBView* view = static_cast<CWBView*>(m_views.RemoveHead());
        view->DestroyWindow();
    }
    m_nViews = 0;
    m_pActive = nullptr;
    if (m_hWnd)
        Invalidate(TRUE);
}

void CWBViewManView::ActivateView(uint32_t viewId)
{
    CWBView* view = FindView(viewId);
    if (!view || view == m_pActive)
        return;
    if (m_pActive)
        m_pActive->ShowWindow(SW_HIDE);
    m_pActive = view;
    FitActive();
    view->ShowWindow(SW_SHOW);
}

void CWBViewManView::ApplyZoom()
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;)
        static_cast<CWBView*>(m_views.GetNext(pos))->Rescale();
}

void CWBViewManView::FitActive()
{
    if (!m_pActive || !m_hWnd)
        return;
    CRect rc;
    GetClientRect(&rc);
    m_pActive->MoveWindow(&rc);
}

void CWBViewManView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    FitActive();
}

BOOL CWBViewManView::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(0x80, 0x80, 0x80));
    return TRUE;
}

void CWBViewManView::OnDraw(CDC*) {}

} // namespace caskel
