#include "CMemFile.h"

#include <stdlib.h>
#include <string.h>

IMPLEMENT_DYNAMIC(CMemFile, CFile)

CMemFile::CMemFile(UINT nGrowBytes)
    : m_nGrowBytes(nGrowBytes ? nGrowBytes : 1024), m_nPosition(0), m_nBufferSize(0),
      m_nFileSize(0), m_lpBuffer(NULL), m_bAutoDelete(TRUE)
{}

CMemFile::CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
    : m_nGrowBytes(0), m_nPosition(0), m_nBufferSize(0), m_nFileSize(0), m_lpBuffer(NULL),
      m_bAutoDelete(FALSE)
{
    Attach(lpBuffer, nBufferSize, nGrowBytes);
}

CMemFile::~CMemFile() { Close(); }

void CMemFile::Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes)
{
    Close();
    m_lpBuffer = lpBuffer;
    m_nBufferSize = nBufferSize;
    m_nGrowBytes = nGrowBytes;
    // A fixed buffer reads as a file of its size; a growable one starts empty.
    m_nFileSize = nGrowBytes == 0 ? nBufferSize : 0;
    m_nPosition = 0;
    m_bAutoDelete = FALSE;
}

BYTE* CMemFile::Detach()
{
    BYTE* p = m_lpBuffer;
    m_lpBuffer = NULL;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
    return p;
}

void CMemFile::Close()
{
    if (m_bAutoDelete)
        free(m_lpBuffer);
    m_lpBuffer = NULL;
    m_nBufferSize = m_nFileSize = m_nPosition = 0;
}

void CMemFile::GrowFile(DWORD dwNewLen)
{
    if (dwNewLen <= m_nBufferSize)
        return;
    if (m_nGrowBytes == 0)
        AfxThrowFileException(CFileException::diskFull);
    DWORD cap = m_nBufferSize;
    while (cap < dwNewLen)
        cap += m_nGrowBytes + cap / 2;
    BYTE* p = (BYTE*)(m_bAutoDelete ? realloc(m_lpBuffer, cap) : malloc(cap));
    if (!p)
        AfxThrowMemoryException();
    if (!m_bAutoDelete && m_lpBuffer)
        memcpy(p, m_lpBuffer, m_nFileSize);
    m_lpBuffer = p;
    m_nBufferSize = cap;
    m_bAutoDelete = TRUE;
}

UINT CMemFile::Read(void* lpBuf, UINT nCount)
{
    if (m_nPosition >= m_nFileSize)
        return 0;
    UINT n = m_nFileSize - m_nPosition;
    if (n > nCount)
        n = nCount;
    memcpy(lpBuf, m_lpBuffer + m_nPosition, n);
    m_nPosition += n;
    return n;
}

void CMemFile::Write(const void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return;
    if (m_nPosition + nCount < m_nPosition)
        AfxThrowFileException(CFileException::diskFull);
    GrowFile(m_nPosition + nCount);
    memcpy(m_lpBuffer + m_nPosition, lpBuf, nCount);
    m_nPosition += nCount;
    if (m_nPosition > m_nFileSize)
        m_nFileSize = m_nPosition;
}

LONG CMemFile::Seek(LONG lOff, UINT nFrom)
{
    LONG base = nFrom == begin ? 0 : nFrom == current ? (LONG)m_nPosition : (LONG)m_nFileSize;
    LONG pos = base + lOff;
    if (pos < 0)
        AfxThrowFileException(CFileException::badSeek);
    m_nPosition = (DWORD)pos;
    return pos;
}

void CMemFile::SetLength(DWORD dwNewLen)
{
    GrowFile(dwNewLen);
    if (dwNewLen > m_nFileSize)
        memset(m_lpBuffer + m_nFileSize, 0, dwNewLen - m_nFileSize);
    m_nFileSize = dwNewLen;
    if (m_nPosition > dwNewLen)
        m_nPosition = dwNewLen;
}
