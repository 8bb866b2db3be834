#include "CException.h"
#include "AfxState.h"
#include "CWnd.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CUserException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)

BOOL CException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (lpszError && nMaxError)
        lpszError[0] = 0;
    return FALSE;
}

int CException::ReportError(UINT nType, UINT)
{
    char text[512];
    if (!GetErrorMessage(text, sizeof(text)))
        strcpy(text, "操作失败。");
    // Through the framework's message box, like every other box, so that a
    // program's hook (tests answer boxes there) sees it too.
    return AfxMessageBox(text, nType);
}

LRESULT AfxProcessWndProcException(CException* e, const MSG* pMsg)
{
    LRESULT r = 0;
    if (pMsg->message == WM_CREATE)
        r = -1;
    else if (pMsg->message == WM_PAINT && pMsg->hwnd)
        ::ValidateRect(pMsg->hwnd, NULL);
    if (!e) {
        CException unknown;
        unknown.ReportError(MB_ICONSTOP);
    } else {
        if (e->IsKindOf(RUNTIME_CLASS(CMemoryException)))
            e->ReportError(MB_ICONEXCLAMATION);
        else if (!e->IsKindOf(RUNTIME_CLASS(CUserException)))
            e->ReportError(MB_ICONSTOP);
        e->Delete();
    }
    return r;
}

void AFXAPI AfxThrowMemoryException()
{
    static CMemoryException* const once = [] {
        CMemoryException* e = new CMemoryException;
        e->m_bAutoDelete = FALSE;
        return e;
    }();
    throw once;
}

void AFXAPI AfxThrowUserException() { throw new CUserException; }
void AFXAPI AfxThrowNotSupportedException() { throw new CNotSupportedException; }
