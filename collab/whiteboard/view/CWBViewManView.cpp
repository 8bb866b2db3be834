#include "CWBViewManView.h"

IMPLEMENT_DYNCREATE(CWBViewManView, CView)

BEGIN_MESSAGE_MAP(CWBViewManView, CView)
    ON_WM_SIZE()
    ON_MESSAGE(WM_WB_SCROLLED, OnScrolled)
END_MESSAGE_MAP()

namespace {
// Documents whose pages a one-byte page index cannot name are not shared.
const int kMaxPages = 255;
} // namespace

CWBViewManView::CWBViewManView() : m_nCreated(0), m_bEditRight(TRUE), m_pActive(NULL) {}

CWBViewManView::~CWBViewManView() {}

void CWBViewManView::OnDraw(CDC* pDC)
{
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(255, 255, 255));
    CBitmap logo;
    if (logo.LoadBitmap(607)) {
        BITMAP bm;
        logo.GetBitmap(&bm);
        CDC mem;
        mem.CreateCompatibleDC(pDC);
        CBitmap* old = mem.SelectObject(&logo);
        pDC->BitBlt((rc.Width() - bm.bmWidth) / 2, (rc.Height() - bm.bmHeight) / 2, bm.bmWidth,
                    bm.bmHeight, &mem, 0, 0, SRCCOPY);
        mem.SelectObject(old);
    }
}

DWORD CWBViewManView::NewDocumentId()
{
    return (DWORD)m_nCreated + ((((GetTickCount() << 8) + GetCurrentThreadId())) << 8);
}

CWBView* CWBViewManView::AddView(WB_SETTINGS* pSettings)
{
    CWBView* view = new CWBView;
    if (!view->CreateView(this, 0, pSettings)) {
        delete view;
        return NULL;
    }
    view->SetEditRight(m_bEditRight);
    m_views.AddTail(view);
    ++m_nCreated;
    return view;
}

CWBView* CWBViewManView::CreateLocalDocument(WB_SETTINGS* pSettings, int nPages,
                                             const char* const* ppszFiles)
{
    if (nPages <= 0 || nPages > kMaxPages)
        return NULL;
    CWBView* view = AddView(pSettings);
    if (!view)
        return NULL;
    BOOL ok = ppszFiles ? view->GetDocument().Create(nPages, ppszFiles)
                        : view->GetDocument().CreateBlank(nPages, 0);
    if (!ok || view->GetPageCount() <= 0 || view->GetPageCount() > kMaxPages) {
        m_views.RemoveAt(m_views.Find(view));
        view->DestroyWindow();
        return NULL;
    }
    if (ppszFiles && ppszFiles[0]) {
        char name[_MAX_FNAME];
        _splitpath(ppszFiles[0], NULL, NULL, name, NULL);
        view->m_strTitle = name;
    } else {
        view->m_strTitle = "白板文件";
    }
    view->m_dwDocId = NewDocumentId();
    view->m_bOpenedHere = TRUE;
    view->Rescale();
    return view;
}

CWBView* CWBViewManView::CreateRemoteDocument(WB_SETTINGS* pSettings, DWORD id, LPCTSTR lpszTitle,
                                              SIZE size, int nPages, int nBackgrounds)
{
    if (nPages <= 0 || nPages > kMaxPages)
        return NULL;
    CWBView* view = AddView(pSettings);
    if (!view)
        return NULL;
    if (!view->GetDocument().CreateBlank(nPages, (WORD)(nBackgrounds < 0 ? 0 : nBackgrounds))) {
        m_views.RemoveAt(m_views.Find(view));
        view->DestroyWindow();
        return NULL;
    }
    view->GetDocument().SetPageSize(size);
    view->m_strTitle = lpszTitle ? lpszTitle : "";
    view->m_dwDocId = id;
    view->m_bOpenedHere = FALSE;
    view->Rescale();
    return view;
}

CWBView* CWBViewManView::FindById(DWORD id)
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;) {
        CWBView* v = (CWBView*)m_views.GetNext(pos);
        if (v->GetDocId() == id)
            return v;
    }
    return NULL;
}

CWBView* CWBViewManView::FindByStoredId(DWORD id)
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;) {
        CWBView* v = (CWBView*)m_views.GetNext(pos);
        if (v->m_dwStoredId == id)
            return v;
    }
    return NULL;
}

BOOL CWBViewManView::Activate(DWORD id)
{
    CWBView* view = FindById(id);
    if (!view)
        return FALSE;
    if (m_pActive && m_pActive != view)
        m_pActive->ShowWindow(SW_HIDE);
    CRect rc;
    GetClientRect(&rc);
    view->MoveWindow(&rc);
    view->ShowWindow(SW_SHOW);
    m_pActive = view;
    return TRUE;
}

BOOL CWBViewManView::CloseDocument(DWORD id)
{
    CWBView* view = FindById(id);
    if (!view)
        return FALSE;
    m_views.RemoveAt(m_views.Find(view));
    if (m_pActive == view)
        m_pActive = NULL;
    view->DestroyWindow(); // the view frees itself
    if (!m_pActive)
        Invalidate();
    return TRUE;
}

void CWBViewManView::RescaleAll()
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;)
        ((CWBView*)m_views.GetNext(pos))->Rescale();
}

void CWBViewManView::ScrollAll(int nPos)
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;)
        ((CWBView*)m_views.GetNext(pos))->ApplyScrollPos(nPos);
}

void CWBViewManView::CancelToolActions()
{
    for (POSITION pos = m_views.GetHeadPosition(); pos;)
        ((CWBView*)m_views.GetNext(pos))->ResetForTool(TRUE);
}

void CWBViewManView::SetEditRight(BOOL bRight)
{
    m_bEditRight = bRight;
    for (POSITION pos = m_views.GetHeadPosition(); pos;)
        ((CWBView*)m_views.GetNext(pos))->SetEditRight(bRight);
}

void CWBViewManView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    if (m_pActive)
        m_pActive->MoveWindow(0, 0, cx, cy);
}

LRESULT CWBViewManView::OnScrolled(WPARAM wParam, LPARAM lParam)
{
    // A page the user scrolled: the window that owns the pages shares it.
    if (CWnd* parent = GetParent())
        parent->SendMessage(WM_WB_SCROLLED, wParam, lParam);
    return 0;
}
