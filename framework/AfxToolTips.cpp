// Tooltips for the areas and child controls of a window: EnableToolTips
// turns them on; OnToolHitTest tells which tool lies under the mouse.
#include "AfxState.h"
#include "CToolTipCtrl.h"
#include "CWnd.h"

#include <stdlib.h>

static CToolTipCtrl* ThreadToolTip(CWnd* owner)
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (s->pToolTip && !::IsWindow(s->pToolTip->m_hWnd)) {
        s->pToolTip->m_hWnd = NULL;
        delete s->pToolTip;
        s->pToolTip = NULL;
    }
    if (!s->pToolTip) {
        CToolTipCtrl* tip = new CToolTipCtrl;
        if (!tip->Create(owner, TTS_ALWAYSTIP)) {
            delete tip;
            return NULL;
        }
        tip->SetMaxTipWidth(SHRT_MAX);
        s->pToolTip = tip;
    }
    return s->pToolTip;
}

BOOL CWnd::EnableToolTips(BOOL bEnable)
{
    if (!bEnable) {
        m_nFlags &= ~WF_TOOLTIPS;
        CancelToolTips();
        return TRUE;
    }
    if (!ThreadToolTip(this))
        return FALSE;
    m_nFlags |= WF_TOOLTIPS;
    return TRUE;
}

int CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const
{
    HWND hChild = ::ChildWindowFromPointEx(m_hWnd, point, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!hChild || hChild == m_hWnd)
        return -1;
    int id = ::GetDlgCtrlID(hChild);
    if (pTI) {
        pTI->hwnd = m_hWnd;
        pTI->uId = (UINT_PTR)hChild;
        pTI->uFlags |= TTF_IDISHWND;
        pTI->lpszText = LPSTR_TEXTCALLBACKA;
    }
    return id;
}

void PASCAL CWnd::CancelToolTips(BOOL)
{
    AFX_THREAD_STATE* s = AfxGetThreadState();
    if (s->pToolTip && ::IsWindow(s->pToolTip->m_hWnd))
        s->pToolTip->SendMessage(TTM_POP);
}

void CWnd::FilterToolTipMessage(MSG* pMsg)
{
    UINT m = pMsg->message;
    if (m != WM_MOUSEMOVE && m != WM_LBUTTONDOWN && m != WM_LBUTTONUP && m != WM_RBUTTONDOWN &&
        m != WM_RBUTTONUP && m != WM_MBUTTONDOWN && m != WM_MBUTTONUP)
        return;
    AFX_THREAD_STATE* s = AfxGetThreadState();
    CToolTipCtrl* tip = ThreadToolTip(this);
    if (!tip)
        return;
    POINT pt = {(short)LOWORD(pMsg->lParam), (short)HIWORD(pMsg->lParam)};
    ::MapWindowPoints(pMsg->hwnd, m_hWnd, &pt, 1);
    TOOLINFOA ti = {};
    ti.cbSize = sizeof(ti);
    int hit = OnToolHitTest(pt, &ti);
    if (hit != s->nLastHit || s->pLastHit != this) {
        if (s->nLastHit != -1 && s->lastInfo.cbSize)
            tip->SendMessage(TTM_DELTOOLA, 0, (LPARAM)&s->lastInfo);
        s->nLastHit = -1;
        s->pLastHit = this;
        if (hit != -1) {
            if (!ti.hwnd)
                ti.hwnd = m_hWnd;
            if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect))
                ::GetClientRect(m_hWnd, &ti.rect);
            tip->SendMessage(TTM_ADDTOOLA, 0, (LPARAM)&ti);
            // a text the hit test allocated belongs to the framework now
            if (ti.lpszText && ti.lpszText != LPSTR_TEXTCALLBACKA)
                free(ti.lpszText);
            ti.lpszText = NULL;
            s->lastInfo = ti;
            s->nLastHit = hit;
        }
    }
    if (hit != -1)
        tip->SendMessage(TTM_RELAYEVENT, 0, (LPARAM)pMsg);
}
