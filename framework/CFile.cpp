#include "CFile.h"

IMPLEMENT_DYNAMIC(CFile, CObject)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

CFile::CFile() : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCSTR lpszFileName, UINT nOpenFlags)
    : m_hFile(INVALID_HANDLE_VALUE), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!Open(lpszFileName, nOpenFlags, &e))
        AfxThrowFileException(e.m_cause, e.m_lOsError, lpszFileName);
}

CFile::~CFile()
{
    if (m_hFile != INVALID_HANDLE_VALUE && m_bCloseOnDelete)
        Abort();
}

BOOL CFile::Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        Abort();
    if (!lpszFileName || !*lpszFileName) {
        if (pError) {
            pError->m_cause = CFileException::badPath;
            pError->m_lOsError = ERROR_BAD_PATHNAME;
        }
        return FALSE;
    }
    m_strFileName = lpszFileName;

    DWORD access = 0;
    switch (nOpenFlags & 3) {
    case modeRead:
        access = GENERIC_READ;
        break;
    case modeWrite:
        access = GENERIC_WRITE;
        break;
    case modeReadWrite:
        access = GENERIC_READ | GENERIC_WRITE;
        break;
    }
    DWORD share = 0;
    switch (nOpenFlags & 0x70) {
    case shareCompat:
    case shareExclusive:
        share = 0;
        break;
    case shareDenyWrite:
        share = FILE_SHARE_READ;
        break;
    case shareDenyRead:
        share = FILE_SHARE_WRITE;
        break;
    case shareDenyNone:
        share = FILE_SHARE_READ | FILE_SHARE_WRITE;
        break;
    }
    SECURITY_ATTRIBUTES sa = {sizeof(sa), NULL, (nOpenFlags & modeNoInherit) == 0};
    DWORD create = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        create = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    HANDLE h = CreateFileA(lpszFileName, access, share, &sa, create, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE) {
        if (pError) {
            pError->m_lOsError = (LONG)GetLastError();
            pError->m_cause = CFileException::OsErrorToException(pError->m_lOsError);
            lstrcpynA(pError->m_strFileName, lpszFileName, MAX_PATH);
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD got = 0;
    if (!ReadFile(m_hFile, lpBuf, nCount, &got, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return got;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    DWORD put = 0;
    if (!WriteFile(m_hFile, lpBuf, nCount, &put, NULL))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    if (put != nCount)
        AfxThrowFileException(CFileException::diskFull, -1, m_strFileName);
}

LONG CFile::Seek(LONG lOff, UINT nFrom)
{
    DWORD r = SetFilePointer(m_hFile, lOff, NULL, nFrom);
    if (r == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return (LONG)r;
}

DWORD CFile::GetPosition() const
{
    DWORD r = SetFilePointer(m_hFile, 0, NULL, FILE_CURRENT);
    if (r == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return r;
}

DWORD CFile::GetLength() const
{
    DWORD r = ::GetFileSize(m_hFile, NULL);
    if (r == INVALID_FILE_SIZE && GetLastError() != NO_ERROR)
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
    return r;
}

void CFile::SetLength(DWORD dwNewLen)
{
    Seek((LONG)dwNewLen, begin);
    if (!SetEndOfFile(m_hFile))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

void CFile::Flush()
{
    if (m_hFile != INVALID_HANDLE_VALUE && !FlushFileBuffers(m_hFile))
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

void CFile::Close()
{
    BOOL bError = FALSE;
    if (m_hFile != INVALID_HANDLE_VALUE)
        bError = !CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
    if (bError)
        CFileException::ThrowOsError((LONG)GetLastError(), m_strFileName);
}

void CFile::Abort()
{
    if (m_hFile != INVALID_HANDLE_VALUE)
        CloseHandle(m_hFile);
    m_hFile = INVALID_HANDLE_VALUE;
    m_bCloseOnDelete = FALSE;
}

static void FillStatus(const WIN32_FILE_ATTRIBUTE_DATA& fa, CFileStatus& s)
{
    s.m_size = (LONG)fa.nFileSizeLow;
    s.m_attribute = (BYTE)fa.dwFileAttributes;
    s.m_padding = 0;
    s.m_ctime = CTime(fa.ftCreationTime);
    s.m_atime = CTime(fa.ftLastAccessTime);
    s.m_mtime = CTime(fa.ftLastWriteTime);
}

BOOL CFile::GetStatus(CFileStatus& rStatus) const { return GetStatus(m_strFileName, rStatus); }

BOOL PASCAL CFile::GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus)
{
    WIN32_FILE_ATTRIBUTE_DATA fa;
    if (!lpszFileName || !GetFileAttributesExA(lpszFileName, GetFileExInfoStandard, &fa))
        return FALSE;
    FillStatus(fa, rStatus);
    if (!GetFullPathNameA(lpszFileName, MAX_PATH, rStatus.m_szFullName, NULL))
        rStatus.m_szFullName[0] = 0;
    return TRUE;
}

void PASCAL CFile::Rename(LPCSTR lpszOldName, LPCSTR lpszNewName)
{
    if (!MoveFileA(lpszOldName, lpszNewName))
        CFileException::ThrowOsError((LONG)GetLastError(), lpszOldName);
}

void PASCAL CFile::Remove(LPCSTR lpszFileName)
{
    if (!DeleteFileA(lpszFileName))
        CFileException::ThrowOsError((LONG)GetLastError(), lpszFileName);
}

CString CFile::GetFileName() const
{
    int slash = m_strFileName.ReverseFind('\\');
    int other = m_strFileName.ReverseFind('/');
    if (other > slash)
        slash = other;
    return m_strFileName.Mid(slash + 1);
}

CString CFile::GetFileTitle() const
{
    CString name = GetFileName();
    int dot = name.ReverseFind('.');
    return dot >= 0 ? name.Left(dot) : name;
}
