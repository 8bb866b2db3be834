#pragma once
#include "CException.h"

// Raised by CArchive on a malformed or truncated archive.
class CArchiveException : public CException
{
    DECLARE_DYNAMIC(CArchiveException)
public:
    enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
    explicit CArchiveException(int cause = none, LPCSTR lpszArchiveName = NULL);
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);

    int m_cause;
    char m_strFileName[MAX_PATH];
};

void AFXAPI AfxThrowArchiveException(int cause, LPCSTR lpszArchiveName = NULL);
