#pragma once
#include "CFile.h"

// A file held in memory; grows as it is written.
class CMemFile : public CFile
{
    DECLARE_DYNAMIC(CMemFile)
public:
    explicit CMemFile(UINT nGrowBytes = 1024);
    CMemFile(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    virtual ~CMemFile();

    void Attach(BYTE* lpBuffer, UINT nBufferSize, UINT nGrowBytes = 0);
    BYTE* Detach(); // the caller frees the block with free()

    virtual BOOL Open(LPCSTR, UINT, CFileException* = NULL) { return FALSE; }
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual DWORD GetPosition() const { return m_nPosition; }
    virtual DWORD GetLength() const { return m_nFileSize; }
    virtual void SetLength(DWORD dwNewLen);
    virtual void Flush() {}
    virtual void Close();
    virtual void Abort() { Close(); }

protected:
    void GrowFile(DWORD dwNewLen);

    UINT m_nGrowBytes;
    DWORD m_nPosition;
    DWORD m_nBufferSize;
    DWORD m_nFileSize;
    BYTE* m_lpBuffer;
    BOOL m_bAutoDelete;
};
