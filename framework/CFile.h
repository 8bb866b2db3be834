#pragma once
#include "CFileException.h"
#include "CString.h"
#include "CTime.h"

struct CFileStatus
{
    CTime m_ctime;
    CTime m_mtime;
    CTime m_atime;
    LONG m_size;
    BYTE m_attribute;
    BYTE m_padding;
    char m_szFullName[MAX_PATH];
};

// A file on disk. Open reports failure as FALSE (and fills the optional
// exception object); Read, Write and Seek throw CFileException on errors.
class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = (int)0x8000
    };
    enum SeekPosition { begin = 0x0, current = 0x1, end = 0x2 };
    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);
    CFile(LPCSTR lpszFileName, UINT nOpenFlags); // throws on failure
    virtual ~CFile();

    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual LONG Seek(LONG lOff, UINT nFrom);
    virtual DWORD GetPosition() const;
    virtual DWORD GetLength() const;
    virtual void SetLength(DWORD dwNewLen);
    virtual void Flush();
    virtual void Close();
    virtual void Abort(); // closes without throwing
    void SeekToBegin() { Seek(0, begin); }
    DWORD SeekToEnd() { return Seek(0, end); }

    BOOL GetStatus(CFileStatus& rStatus) const;
    static BOOL PASCAL GetStatus(LPCSTR lpszFileName, CFileStatus& rStatus);
    static void PASCAL Rename(LPCSTR lpszOldName, LPCSTR lpszNewName);
    static void PASCAL Remove(LPCSTR lpszFileName);

    CString GetFileName() const;
    CString GetFileTitle() const;
    CString GetFilePath() const { return m_strFileName; }
    void SetFilePath(LPCSTR lpszNewName) { m_strFileName = lpszNewName; }
    operator HFILE() const { return (HFILE)(INT_PTR)m_hFile; }

    HANDLE m_hFile;
    BOOL m_bCloseOnDelete;

protected:
    CString m_strFileName;
};
