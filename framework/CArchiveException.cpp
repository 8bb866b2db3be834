#include "CArchiveException.h"

#include <stdio.h>

IMPLEMENT_DYNAMIC(CArchiveException, CException)

CArchiveException::CArchiveException(int cause, LPCSTR lpszArchiveName) : m_cause(cause)
{
    m_strFileName[0] = 0;
    if (lpszArchiveName)
        lstrcpynA(m_strFileName, lpszArchiveName, MAX_PATH);
}

BOOL CArchiveException::GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext)
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    if (!lpszError || !nMaxError)
        return FALSE;
    _snprintf(lpszError, nMaxError, "文件 %s 格式不正确 (%d)。", m_strFileName, m_cause);
    lpszError[nMaxError - 1] = 0;
    return TRUE;
}

void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName)
{
    throw new CArchiveException(cause, lpszArchiveName);
}
