#include "CSkinEdit.h"

BEGIN_MESSAGE_MAP(CSkinEdit, CEdit)
    ON_WM_CREATE()
    ON_WM_MOUSEMOVE()
    ON_WM_SETFOCUS()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CSkinEdit::CSkinEdit() : m_bSide(TRUE) {}

CSkinEdit::~CSkinEdit() {}

int CSkinEdit::OnCreate(LPCREATESTRUCT lpcs) { return CEdit::OnCreate(lpcs); }

void CSkinEdit::OnMouseMove(UINT, CPoint)
{
    CRect rc;
    GetWindowRect(&rc);
    int x = m_bSide ? 10 : ::GetSystemMetrics(SM_CXSCREEN) - 180;
    m_bSide = !m_bSide;
    SetWindowPos(NULL, x, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSkinEdit::OnSetFocus(CWnd* pOldWnd)
{
    CEdit::OnSetFocus(pOldWnd);
    ::HideCaret(m_hWnd);
}

HBRUSH CSkinEdit::CtlColor(CDC* pDC, UINT)
{
    pDC->SetBkMode(TRANSPARENT);
    return NULL;
}

BOOL CSkinEdit::OnEraseBkgnd(CDC* pDC)
{
    SendMessage(EM_SETSEL, 0, 0);
    SendMessage(EM_SCROLLCARET);
    HBITMAP hBk =
        (HBITMAP)::LoadImageA(AfxGetResourceHandle(), MAKEINTRESOURCEA(612), IMAGE_BITMAP, 0, 0, 0);
    if (hBk) {
        BITMAP bm = {};
        ::GetObjectA(hBk, sizeof(bm), &bm);
        HDC hMem = ::CreateCompatibleDC(pDC->m_hDC);
        HGDIOBJ old = ::SelectObject(hMem, hBk);
        ::BitBlt(pDC->m_hDC, 0, 0, bm.bmWidth, bm.bmHeight, hMem, 0, 0, SRCCOPY);
        ::SelectObject(hMem, old);
        ::DeleteDC(hMem);
        ::DeleteObject(hBk);
    } else {
        CRect rc;
        GetClientRect(&rc);
        pDC->FillSolidRect(&rc, ::GetSysColor(COLOR_BTNFACE));
    }
    return TRUE;
}
