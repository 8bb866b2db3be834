#include "CException.h"
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
