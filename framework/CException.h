#pragma once
#include "CObject.h"

// Exceptions are thrown as pointers, as the framework's callers expect:
//   TRY { ... } CATCH(CFileException, e) { ...; e->Delete(); } END_CATCH
class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    CException() : m_bAutoDelete(TRUE) {}
    void Delete()
    {
        if (m_bAutoDelete)
            delete this;
    }
    virtual BOOL GetErrorMessage(LPSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL);
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
};

// Thrown by DDX/DDV when a value is refused; UpdateData turns it into FALSE.
class CUserException : public CException
{
    DECLARE_DYNAMIC(CUserException)
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
};

void AFXAPI AfxThrowMemoryException();
void AFXAPI AfxThrowUserException();
void AFXAPI AfxThrowNotSupportedException();

#define TRY try
#define CATCH(class_name, e) catch (class_name * e)
#define AND_CATCH(class_name, e) catch (class_name * e)
#define END_CATCH
#define CATCH_ALL(e) catch (CException * e)
#define AND_CATCH_ALL(e) catch (CException * e)
#define END_CATCH_ALL
#define THROW(e) throw e
#define THROW_LAST() throw
