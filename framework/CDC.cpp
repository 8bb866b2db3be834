#include "CDC.h"
#include "AfxState.h"
#include "CClientDC.h"
#include "CPaintDC.h"
#include "CWindowDC.h"
#include "CWnd.h"

IMPLEMENT_DYNCREATE(CDC, CObject)
IMPLEMENT_DYNAMIC(CPaintDC, CDC)
IMPLEMENT_DYNAMIC(CClientDC, CDC)
IMPLEMENT_DYNAMIC(CWindowDC, CDC)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)

CDC::CDC() : m_hDC(NULL), m_hAttribDC(NULL), m_bPrinting(FALSE), m_bOwnsDC(FALSE) {}

CDC::~CDC()
{
    // Like the framework's callers expect: a DC still attached is deleted.
    if (m_hDC)
        ::DeleteDC(Detach());
}

HDC CDC::GetSafeHdc() const
{
    const CDC* volatile self = this;
    return self ? self->m_hDC : NULL;
}

CDC* PASCAL CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return NULL;
    return AfxGetThreadState()->dcMap.FromHandle(hDC, [](HDC h) {
        CDC* p = new CDC;
        p->m_hDC = p->m_hAttribDC = h;
        return p;
    });
}

void PASCAL CDC::DeleteTempMap()
{
    AfxGetThreadState()->dcMap.DeleteTemporaries([](CDC* p) { p->m_hDC = p->m_hAttribDC = NULL; });
}

BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = m_hAttribDC = hDC;
    AfxGetThreadState()->dcMap.permanent[hDC] = this;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    if (h)
        AfxGetThreadState()->dcMap.RemovePermanent(h, this);
    m_hDC = m_hAttribDC = NULL;
    m_bOwnsDC = FALSE;
    return h;
}

BOOL CDC::CreateDC(LPCSTR d, LPCSTR dev, LPCSTR out, const void* init)
{
    if (!Attach(::CreateDCA(d, dev, out, (const DEVMODEA*)init)))
        return FALSE;
    m_bOwnsDC = TRUE;
    return TRUE;
}

BOOL CDC::CreateIC(LPCSTR d, LPCSTR dev, LPCSTR out, const void* init)
{
    if (!Attach(::CreateICA(d, dev, out, (const DEVMODEA*)init)))
        return FALSE;
    m_bOwnsDC = TRUE;
    return TRUE;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    if (!Attach(::CreateCompatibleDC(pDC->GetSafeHdc())))
        return FALSE;
    m_bOwnsDC = TRUE;
    return TRUE;
}

BOOL CDC::DeleteDC()
{
    if (!m_hDC)
        return FALSE;
    return ::DeleteDC(Detach());
}

CWnd* CDC::GetWindow() const { return CWnd::FromHandle(::WindowFromDC(m_hDC)); }

CGdiObject* CDC::SelectGdiObject(HGDIOBJ h)
{
    if (!h || !m_hDC)
        return NULL;
    return CGdiObject::FromHandle(::SelectObject(m_hDC, h));
}

void CDC::DPtoLP(LPSIZE lpSize) const
{
    POINT p[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::DPtoLP(m_hDC, p, 2);
    lpSize->cx = p[1].x - p[0].x;
    lpSize->cy = p[1].y - p[0].y;
}

void CDC::LPtoDP(LPSIZE lpSize) const
{
    POINT p[2] = {{0, 0}, {lpSize->cx, lpSize->cy}};
    ::LPtoDP(m_hDC, p, 2);
    lpSize->cx = p[1].x - p[0].x;
    lpSize->cy = p[1].y - p[0].y;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    RECT r = {x, y, x + cx, y + cy};
    FillSolidRect(&r, clr);
}

void CDC::Draw3dRect(LPCRECT r, COLORREF tl, COLORREF br)
{
    Draw3dRect(r->left, r->top, r->right - r->left, r->bottom - r->top, tl, br);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF tl, COLORREF br)
{
    FillSolidRect(x, y, cx - 1, 1, tl);
    FillSolidRect(x, y, 1, cy - 1, tl);
    FillSolidRect(x + cx, y, -1, cy, br);
    FillSolidRect(x, y + cy, cx, -1, br);
}

BOOL CDC::TransparentBlt(int xDest, int yDest, int nDestWidth, int nDestHeight, CDC* pSrcDC,
                         int xSrc, int ySrc, int nSrcWidth, int nSrcHeight, UINT clrTransparent)
{
    return ::TransparentBlt(m_hDC, xDest, yDest, nDestWidth, nDestHeight, pSrcDC->GetSafeHdc(),
                            xSrc, ySrc, nSrcWidth, nSrcHeight, clrTransparent);
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()), m_bPrinting(FALSE)
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (m_hWnd && s->hPrintWnd == m_hWnd && s->hPrintDC) {
        m_bPrinting = TRUE;
        m_ps = PAINTSTRUCT();
        m_ps.hdc = s->hPrintDC;
        ::GetClientRect(m_hWnd, &m_ps.rcPaint);
        Attach(m_ps.hdc);
        return;
    }
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    if (!m_bPrinting)
        ::EndPaint(m_hWnd, &m_ps);
    Detach();
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) { Attach(::GetDC(m_hWnd)); }

CClientDC::~CClientDC() { ::ReleaseDC(m_hWnd, Detach()); }

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd()) { Attach(::GetWindowDC(m_hWnd)); }

CWindowDC::~CWindowDC() { ::ReleaseDC(m_hWnd, Detach()); }

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return Attach(::CreatePatternBrush((HBITMAP)pBitmap->GetSafeHandle()));
}

BOOL CFont::CreatePointFont(int nPointSize, LPCSTR lpszFaceName, CDC* pDC)
{
    LOGFONTA lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfHeight = nPointSize;
    if (lpszFaceName)
        lstrcpynA(lf.lfFaceName, lpszFaceName, LF_FACESIZE);
    return CreatePointFontIndirect(&lf, pDC);
}

BOOL CFont::CreatePointFontIndirect(const LOGFONTA* lpLogFont, CDC* pDC)
{
    HDC hDC = pDC ? pDC->m_hAttribDC : ::GetDC(NULL);
    LOGFONTA lf = *lpLogFont;
    POINT pt = {0, 0};
    pt.y = ::MulDiv(::GetDeviceCaps(hDC, LOGPIXELSY), lf.lfHeight, 720);
    ::DPtoLP(hDC, &pt, 1);
    POINT ptOrg = {0, 0};
    ::DPtoLP(hDC, &ptOrg, 1);
    lf.lfHeight = -abs(pt.y - ptOrg.y);
    if (!pDC)
        ::ReleaseDC(NULL, hDC);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(LPCSTR lpszResourceName)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), lpszResourceName));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->GetSafeHdc(), nWidth, nHeight));
}

BOOL CPalette::CreateHalftonePalette(CDC* pDC)
{
    return Attach(::CreateHalftonePalette(pDC->GetSafeHdc()));
}
