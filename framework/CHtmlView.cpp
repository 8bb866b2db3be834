#include "CHtmlView.h"
#include "CWebBrowserEngine.h"
#include "CDC.h"

#include <vector>

IMPLEMENT_DYNCREATE(CHtmlView, CView)

namespace {
const UINT WM_ENGINE_COMPLETE = WM_USER + 0x7F10;
AFX_HTMLENGINE_FACTORY g_factory = NULL;
} // namespace

// The engine used where no browser engine exists: it keeps the address
// history, asks the view before each navigation and reports each one as
// complete (asynchronously, as a browser would) without loading anything.
class CNullHtmlEngine : public CHtmlEngine
{
public:
    BOOL Create(CHtmlView* pView) override
    {
        m_pView = pView;
        return TRUE;
    }
    void Destroy() override { m_pView = NULL; }
    void Resize(const RECT&) override {}
    void Navigate(LPCSTR lpszURL, DWORD dwFlags, LPCSTR lpszTarget, LPCSTR lpszHeaders,
                  const void* post, DWORD postLen) override
    {
        if (!m_pView || !lpszURL)
            return;
        CByteArray data;
        if (post && postLen) {
            data.SetSize((int)postLen);
            memcpy(data.GetData(), post, postLen);
        }
        BOOL cancel = FALSE;
        m_pView->OnBeforeNavigate2(lpszURL, dwFlags, lpszTarget ? lpszTarget : "", data,
                                   lpszHeaders ? lpszHeaders : "", &cancel);
        if (cancel || !m_pView)
            return;
        // forward history is dropped by a new navigation
        if (m_nCurrent + 1 < (int)m_history.size())
            m_history.resize(m_nCurrent + 1);
        m_history.push_back(lpszURL);
        m_nCurrent = (int)m_history.size() - 1;
        Complete();
    }
    void GoBack() override { Move(-1); }
    void GoForward() override { Move(+1); }
    void GoHome() override { Navigate("about:blank", 0, NULL, NULL, NULL, 0); }
    void Refresh() override
    {
        if (m_nCurrent >= 0)
            Complete();
    }
    void Stop() override { m_bBusy = FALSE; }
    CString GetLocationURL() const override
    {
        return m_nCurrent >= 0 ? m_history[m_nCurrent] : CString();
    }
    CString GetLocationName() const override { return GetLocationURL(); }
    BOOL GetBusy() const override { return m_bBusy; }
    void SetSilent(BOOL) override {}
    LPDISPATCH GetHtmlDocument() const override { return NULL; }
    LPDISPATCH GetApplication() const override { return NULL; }

    void Finish()
    {
        if (!m_pView || !m_bBusy)
            return;
        m_bBusy = FALSE;
        CString url = GetLocationURL();
        m_pView->OnNavigateComplete2(url);
        m_pView->OnCommandStateChange(CSC_NAVIGATEBACK, m_nCurrent > 0);
        m_pView->OnCommandStateChange(CSC_NAVIGATEFORWARD, m_nCurrent + 1 < (int)m_history.size());
        m_pView->OnTitleChange(url);
        m_pView->OnDocumentComplete(url);
        if (m_pView->m_hWnd)
            m_pView->Invalidate();
    }

private:
    void Move(int delta)
    {
        int to = m_nCurrent + delta;
        if (!m_pView || to < 0 || to >= (int)m_history.size())
            return;
        CByteArray none;
        BOOL cancel = FALSE;
        m_pView->OnBeforeNavigate2(m_history[to], 0, "", none, "", &cancel);
        if (cancel)
            return;
        m_nCurrent = to;
        Complete();
    }
    void Complete()
    {
        m_bBusy = TRUE;
        if (m_pView && m_pView->m_hWnd)
            m_pView->PostMessage(WM_ENGINE_COMPLETE);
        else
            Finish();
    }

    CHtmlView* m_pView = NULL;
    std::vector<CString> m_history;
    int m_nCurrent = -1;
    BOOL m_bBusy = FALSE;
};

CHtmlEngine* AFXAPI AfxCreateNullHtmlEngine(CHtmlView*) { return new CNullHtmlEngine; }

BEGIN_MESSAGE_MAP(CHtmlView, CView)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_ENGINE_COMPLETE, OnEngineMessage)
END_MESSAGE_MAP()

AFX_HTMLENGINE_FACTORY PASCAL CHtmlView::SetEngineFactory(AFX_HTMLENGINE_FACTORY pfn)
{
    AFX_HTMLENGINE_FACTORY old = g_factory;
    g_factory = pfn;
    return old;
}

CHtmlEngine* AFXAPI AfxCreateDefaultHtmlEngine(CHtmlView* pView)
{
    // Asked once: the browser control shows pages only with the system's
    // HTML library (missing, for one, under Wine without its Gecko package).
    static const bool browser = [] {
        HMODULE h = ::LoadLibraryA("mshtml.dll");
        if (h)
            ::FreeLibrary(h);
        return h != NULL;
    }();
    return browser ? CWebBrowserEngine::Factory(pView) : NULL;
}

CHtmlView::CHtmlView() : m_pEngine(NULL), m_bDefaultEngine(FALSE)
{
    m_pEngine = g_factory ? g_factory(this) : AfxCreateDefaultHtmlEngine(this);
    if (!m_pEngine) {
        m_pEngine = new CNullHtmlEngine;
        m_bDefaultEngine = TRUE;
    }
}

CHtmlView::~CHtmlView()
{
    if (m_pEngine)
        m_pEngine->Destroy();
    delete m_pEngine;
}

BOOL CHtmlView::PreTranslateMessage(MSG* pMsg)
{
    if (CView::PreTranslateMessage(pMsg))
        return TRUE;
    // keys typed in the page go to the browser first
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    return m_pEngine && m_pEngine->PreTranslateMessage(pMsg);
}

BOOL CHtmlView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.style |= WS_CLIPCHILDREN;
    return CView::PreCreateWindow(cs);
}

int CHtmlView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    if (!m_pEngine->Create(this)) {
        // no browser here: the view still works, without pages
        m_pEngine->Destroy();
        delete m_pEngine;
        m_pEngine = AfxCreateNullHtmlEngine(this);
        m_bDefaultEngine = TRUE;
        if (!m_pEngine->Create(this))
            return -1;
    }
    return 0;
}

void CHtmlView::OnDestroy()
{
    m_pEngine->Destroy();
    CView::OnDestroy();
}

void CHtmlView::OnSize(UINT nType, int cx, int cy)
{
    CView::OnSize(nType, cx, cy);
    RECT r = {0, 0, cx, cy};
    m_pEngine->Resize(r);
}

BOOL CHtmlView::OnEraseBkgnd(CDC*) { return TRUE; }

void CHtmlView::OnDraw(CDC* pDC)
{
    // without a page to show: a white page with its address
    CRect r;
    GetClientRect(&r);
    pDC->FillSolidRect(&r, RGB(255, 255, 255));
}

LRESULT CHtmlView::OnEngineMessage(WPARAM, LPARAM)
{
    // only the default engine posts this message
    if (m_bDefaultEngine)
        static_cast<CNullHtmlEngine*>(m_pEngine)->Finish();
    return 0;
}

void CHtmlView::Navigate(LPCSTR lpszURL, DWORD dwFlags, LPCSTR lpszTargetFrameName,
                         LPCSTR lpszHeaders, LPVOID lpvPostData, DWORD dwPostDataLen)
{
    m_pEngine->Navigate(lpszURL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData,
                        dwPostDataLen);
}

void CHtmlView::Navigate2(LPCSTR lpszURL, DWORD dwFlags, LPCSTR lpszTargetFrameName,
                          LPCSTR lpszHeaders, LPVOID lpvPostData, DWORD dwPostDataLen)
{
    m_pEngine->Navigate(lpszURL, dwFlags, lpszTargetFrameName, lpszHeaders, lpvPostData,
                        dwPostDataLen);
}

void CHtmlView::Navigate2(LPCSTR lpszURL, DWORD dwFlags, CByteArray& baPostedData,
                          LPCSTR lpszTargetFrameName, LPCSTR lpszHeader)
{
    m_pEngine->Navigate(lpszURL, dwFlags, lpszTargetFrameName, lpszHeader, baPostedData.GetData(),
                        (DWORD)baPostedData.GetSize());
}

void CHtmlView::GoBack() { m_pEngine->GoBack(); }
void CHtmlView::GoForward() { m_pEngine->GoForward(); }
void CHtmlView::GoHome() { m_pEngine->GoHome(); }
void CHtmlView::Refresh() { m_pEngine->Refresh(); }
void CHtmlView::Stop() { m_pEngine->Stop(); }
CString CHtmlView::GetLocationURL() const { return m_pEngine->GetLocationURL(); }
CString CHtmlView::GetLocationName() const { return m_pEngine->GetLocationName(); }
BOOL CHtmlView::GetBusy() const { return m_pEngine->GetBusy(); }
void CHtmlView::SetSilent(BOOL bSilent) { m_pEngine->SetSilent(bSilent); }
LPDISPATCH CHtmlView::GetHtmlDocument() const { return m_pEngine->GetHtmlDocument(); }
LPDISPATCH CHtmlView::GetApplication() const { return m_pEngine->GetApplication(); }
