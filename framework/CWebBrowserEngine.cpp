#include "CWebBrowserEngine.h"
#include "CByteArray.h"
#include "CHtmlView.h"
#include "CWinApp.h"

#include <exdispid.h>
#include <oleauto.h>

namespace {
CString FromWide(const WCHAR* w)
{
    CString s;
    if (!w)
        return s;
    int n = WideCharToMultiByte(CP_ACP, 0, w, -1, NULL, 0, NULL, NULL);
    if (n > 1) {
        WideCharToMultiByte(CP_ACP, 0, w, -1, s.GetBufferSetLength(n - 1), n, NULL, NULL);
        s.ReleaseBuffer(n - 1);
    }
    return s;
}

CString FromVariant(const VARIANT* v)
{
    if (!v)
        return CString();
    if (V_VT(v) == (VT_BYREF | VT_VARIANT))
        return FromVariant(V_VARIANTREF(v));
    if (V_VT(v) == VT_BSTR)
        return FromWide(V_BSTR(v));
    if (V_VT(v) == (VT_BYREF | VT_BSTR))
        return FromWide(*V_BSTRREF(v));
    return CString();
}

long LongFromVariant(const VARIANT* v)
{
    if (!v)
        return 0;
    if (V_VT(v) == (VT_BYREF | VT_VARIANT))
        return LongFromVariant(V_VARIANTREF(v));
    if (V_VT(v) == VT_I4)
        return V_I4(v);
    if (V_VT(v) == VT_I2)
        return V_I2(v);
    return 0;
}

BSTR ToBstr(LPCSTR s)
{
    if (!s)
        return NULL;
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, NULL, 0);
    BSTR b = SysAllocStringLen(NULL, n > 0 ? n - 1 : 0);
    if (b && n > 0)
        MultiByteToWideChar(CP_ACP, 0, s, -1, b, n);
    return b;
}

void PostedBytes(const VARIANT* v, CByteArray& out)
{
    if (!v)
        return;
    if (V_VT(v) == (VT_BYREF | VT_VARIANT)) {
        PostedBytes(V_VARIANTREF(v), out);
        return;
    }
    if ((V_VT(v) & VT_ARRAY) && V_ARRAY(v)) {
        SAFEARRAY* sa = V_ARRAY(v);
        LONG lo = 0, hi = -1;
        SafeArrayGetLBound(sa, 1, &lo);
        SafeArrayGetUBound(sa, 1, &hi);
        void* data = NULL;
        if (hi >= lo && SUCCEEDED(SafeArrayAccessData(sa, &data))) {
            out.SetSize(hi - lo + 1);
            memcpy(out.GetData(), data, hi - lo + 1);
            SafeArrayUnaccessData(sa);
        }
    }
}
} // namespace

CHtmlEngine* CWebBrowserEngine::Factory(CHtmlView*) { return new CWebBrowserEngine; }

CWebBrowserEngine::CWebBrowserEngine()
    : m_pView(NULL), m_pOleObject(NULL), m_pBrowser(NULL), m_pEvents(NULL), m_dwCookie(0), m_nRef(1)
{}

CWebBrowserEngine::~CWebBrowserEngine() { Destroy(); }

STDMETHODIMP CWebBrowserEngine::QueryInterface(REFIID riid, void** ppv)
{
    if (riid == IID_IUnknown || riid == IID_IOleClientSite)
        *ppv = static_cast<IOleClientSite*>(this);
    else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite)
        *ppv = static_cast<IOleInPlaceSite*>(this);
    else if (riid == IID_IOleInPlaceFrame || riid == IID_IOleInPlaceUIWindow)
        *ppv = static_cast<IOleInPlaceFrame*>(this);
    else if (riid == IID_IDispatch || riid == DIID_DWebBrowserEvents2)
        *ppv = static_cast<IDispatch*>(this);
    else {
        *ppv = NULL;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) CWebBrowserEngine::AddRef() { return ++m_nRef; }
STDMETHODIMP_(ULONG) CWebBrowserEngine::Release() { return m_nRef > 1 ? --m_nRef : 1; }

BOOL CWebBrowserEngine::Create(CHtmlView* pView)
{
    m_pView = pView;
    HRESULT hr = CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject,
                                  (void**)&m_pOleObject);
    if (hr == CO_E_NOTINITIALIZED && AfxOleInit())
        hr = CoCreateInstance(CLSID_WebBrowser, NULL, CLSCTX_INPROC_SERVER, IID_IOleObject,
                              (void**)&m_pOleObject);
    if (FAILED(hr)) {
        m_pOleObject = NULL;
        return FALSE;
    }
    if (FAILED(m_pOleObject->SetClientSite(static_cast<IOleClientSite*>(this))) ||
        FAILED(m_pOleObject->QueryInterface(IID_IWebBrowser2, (void**)&m_pBrowser))) {
        Destroy();
        return FALSE;
    }
    RECT rc;
    ::GetClientRect(pView->m_hWnd, &rc);
    if (FAILED(m_pOleObject->DoVerb(OLEIVERB_INPLACEACTIVATE, NULL,
                                    static_cast<IOleClientSite*>(this), 0, pView->m_hWnd, &rc))) {
        Destroy();
        return FALSE;
    }
    IConnectionPointContainer* cpc = NULL;
    if (SUCCEEDED(m_pBrowser->QueryInterface(IID_IConnectionPointContainer, (void**)&cpc))) {
        if (SUCCEEDED(cpc->FindConnectionPoint(DIID_DWebBrowserEvents2, &m_pEvents)))
            m_pEvents->Advise(static_cast<IDispatch*>(this), &m_dwCookie);
        cpc->Release();
    }
    return TRUE;
}

void CWebBrowserEngine::Destroy()
{
    if (m_pEvents) {
        if (m_dwCookie)
            m_pEvents->Unadvise(m_dwCookie);
        m_pEvents->Release();
        m_pEvents = NULL;
        m_dwCookie = 0;
    }
    if (m_pBrowser) {
        m_pBrowser->Release();
        m_pBrowser = NULL;
    }
    if (m_pOleObject) {
        m_pOleObject->Close(OLECLOSE_NOSAVE);
        m_pOleObject->SetClientSite(NULL);
        m_pOleObject->Release();
        m_pOleObject = NULL;
    }
    m_pView = NULL;
}

void CWebBrowserEngine::Resize(const RECT& rect)
{
    IOleInPlaceObject* ipo = NULL;
    if (m_pOleObject &&
        SUCCEEDED(m_pOleObject->QueryInterface(IID_IOleInPlaceObject, (void**)&ipo))) {
        ipo->SetObjectRects(&rect, &rect);
        ipo->Release();
    }
}

void CWebBrowserEngine::Navigate(LPCSTR lpszURL, DWORD dwFlags, LPCSTR lpszTarget,
                                 LPCSTR lpszHeaders, const void* post, DWORD postLen)
{
    if (!m_pBrowser || !lpszURL)
        return;
    VARIANT url, flags, target, data, headers;
    VariantInit(&url);
    VariantInit(&flags);
    VariantInit(&target);
    VariantInit(&data);
    VariantInit(&headers);
    V_VT(&url) = VT_BSTR;
    V_BSTR(&url) = ToBstr(lpszURL);
    V_VT(&flags) = VT_I4;
    V_I4(&flags) = (LONG)dwFlags;
    if (lpszTarget && *lpszTarget) {
        V_VT(&target) = VT_BSTR;
        V_BSTR(&target) = ToBstr(lpszTarget);
    }
    if (lpszHeaders && *lpszHeaders) {
        V_VT(&headers) = VT_BSTR;
        V_BSTR(&headers) = ToBstr(lpszHeaders);
    }
    if (post && postLen) {
        SAFEARRAY* sa = SafeArrayCreateVector(VT_UI1, 0, postLen);
        void* p = NULL;
        if (sa && SUCCEEDED(SafeArrayAccessData(sa, &p))) {
            memcpy(p, post, postLen);
            SafeArrayUnaccessData(sa);
            V_VT(&data) = VT_ARRAY | VT_UI1;
            V_ARRAY(&data) = sa;
        }
    }
    m_pBrowser->Navigate2(&url, &flags, &target, &data, &headers);
    VariantClear(&url);
    VariantClear(&target);
    VariantClear(&data);
    VariantClear(&headers);
}

void CWebBrowserEngine::GoBack()
{
    if (m_pBrowser)
        m_pBrowser->GoBack();
}
void CWebBrowserEngine::GoForward()
{
    if (m_pBrowser)
        m_pBrowser->GoForward();
}
void CWebBrowserEngine::GoHome()
{
    if (m_pBrowser)
        m_pBrowser->GoHome();
}
void CWebBrowserEngine::Refresh()
{
    if (m_pBrowser)
        m_pBrowser->Refresh();
}
void CWebBrowserEngine::Stop()
{
    if (m_pBrowser)
        m_pBrowser->Stop();
}

CString CWebBrowserEngine::GetLocationURL() const
{
    BSTR b = NULL;
    if (!m_pBrowser || FAILED(m_pBrowser->get_LocationURL(&b)))
        return CString();
    CString s = FromWide(b);
    SysFreeString(b);
    return s;
}

CString CWebBrowserEngine::GetLocationName() const
{
    BSTR b = NULL;
    if (!m_pBrowser || FAILED(m_pBrowser->get_LocationName(&b)))
        return CString();
    CString s = FromWide(b);
    SysFreeString(b);
    return s;
}

BOOL CWebBrowserEngine::GetBusy() const
{
    VARIANT_BOOL busy = VARIANT_FALSE;
    if (m_pBrowser)
        m_pBrowser->get_Busy(&busy);
    return busy != VARIANT_FALSE;
}

void CWebBrowserEngine::SetSilent(BOOL bSilent)
{
    if (m_pBrowser)
        m_pBrowser->put_Silent(bSilent ? VARIANT_TRUE : VARIANT_FALSE);
}

LPDISPATCH CWebBrowserEngine::GetHtmlDocument() const
{
    LPDISPATCH doc = NULL;
    if (m_pBrowser)
        m_pBrowser->get_Document(&doc);
    return doc;
}

BOOL CWebBrowserEngine::PreTranslateMessage(MSG* pMsg)
{
    if (!m_pBrowser)
        return FALSE;
    IOleInPlaceActiveObject* active = NULL;
    if (FAILED(m_pBrowser->QueryInterface(IID_IOleInPlaceActiveObject, (void**)&active)))
        return FALSE;
    BOOL handled = active->TranslateAccelerator(pMsg) == S_OK;
    active->Release();
    return handled;
}

LPDISPATCH CWebBrowserEngine::GetApplication() const
{
    LPDISPATCH app = NULL;
    if (m_pBrowser)
        m_pBrowser->get_Application(&app);
    return app;
}

STDMETHODIMP CWebBrowserEngine::GetWindow(HWND* phwnd)
{
    *phwnd = m_pView ? m_pView->m_hWnd : NULL;
    return *phwnd ? S_OK : E_FAIL;
}

STDMETHODIMP CWebBrowserEngine::GetWindowContext(IOleInPlaceFrame** ppFrame,
                                                 IOleInPlaceUIWindow** ppDoc, LPRECT lprcPosRect,
                                                 LPRECT lprcClipRect,
                                                 LPOLEINPLACEFRAMEINFO lpFrameInfo)
{
    *ppFrame = static_cast<IOleInPlaceFrame*>(this);
    AddRef();
    *ppDoc = NULL;
    ::GetClientRect(m_pView->m_hWnd, lprcPosRect);
    ::GetClientRect(m_pView->m_hWnd, lprcClipRect);
    lpFrameInfo->fMDIApp = FALSE;
    lpFrameInfo->hwndFrame = ::GetParent(m_pView->m_hWnd);
    lpFrameInfo->haccel = NULL;
    lpFrameInfo->cAccelEntries = 0;
    return S_OK;
}

STDMETHODIMP CWebBrowserEngine::OnPosRectChange(LPCRECT lprcPosRect)
{
    Resize(*lprcPosRect);
    return S_OK;
}

STDMETHODIMP CWebBrowserEngine::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* dp, VARIANT*,
                                       EXCEPINFO*, UINT*)
{
    if (!m_pView || !dp)
        return S_OK;
    VARIANT* a = dp->rgvarg; // arguments in reverse order
    UINT n = dp->cArgs;
    switch (id) {
    case DISPID_BEFORENAVIGATE2:
        if (n >= 7) {
            CByteArray posted;
            PostedBytes(&a[2], posted);
            BOOL cancel = FALSE;
            m_pView->OnBeforeNavigate2(FromVariant(&a[5]), (DWORD)LongFromVariant(&a[4]),
                                       FromVariant(&a[3]), posted, FromVariant(&a[1]), &cancel);
            if (V_VT(&a[0]) == (VT_BYREF | VT_BOOL))
                *V_BOOLREF(&a[0]) = cancel ? VARIANT_TRUE : VARIANT_FALSE;
        }
        break;
    case DISPID_NAVIGATECOMPLETE2:
        if (n >= 2)
            m_pView->OnNavigateComplete2(FromVariant(&a[0]));
        break;
    case DISPID_DOCUMENTCOMPLETE:
        if (n >= 2)
            m_pView->OnDocumentComplete(FromVariant(&a[0]));
        break;
    case DISPID_TITLECHANGE:
        if (n >= 1)
            m_pView->OnTitleChange(FromVariant(&a[0]));
        break;
    case DISPID_STATUSTEXTCHANGE:
        if (n >= 1)
            m_pView->OnStatusTextChange(FromVariant(&a[0]));
        break;
    case DISPID_COMMANDSTATECHANGE:
        if (n >= 2)
            m_pView->OnCommandStateChange(V_VT(&a[1]) == VT_I4 ? V_I4(&a[1]) : 0,
                                          V_BOOL(&a[0]) != VARIANT_FALSE);
        break;
    case DISPID_NEWWINDOW2:
        if (n >= 2 && V_VT(&a[1]) == (VT_BYREF | VT_DISPATCH) &&
            V_VT(&a[0]) == (VT_BYREF | VT_BOOL)) {
            BOOL cancel = FALSE;
            m_pView->OnNewWindow2(V_DISPATCHREF(&a[1]), &cancel);
            *V_BOOLREF(&a[0]) = cancel ? VARIANT_TRUE : VARIANT_FALSE;
        }
        break;
    case DISPID_DOWNLOADBEGIN:
        m_pView->OnDownloadBegin();
        break;
    case DISPID_DOWNLOADCOMPLETE:
        m_pView->OnDownloadComplete();
        break;
    case DISPID_PROGRESSCHANGE:
        if (n >= 2)
            m_pView->OnProgressChange(V_I4(&a[1]), V_I4(&a[0]));
        break;
    default:
        break;
    }
    return S_OK;
}
