#pragma once
#include "AfxDefs.h"

// An ANSI string (code page 936 text is kept as bytes; searches and case
// changes step over double-byte characters). The object is one pointer to
// the characters, preceded in the same block by the length and capacity; the
// block comes from the process heap, so a string may be filled by one module
// and grown or freed by another.
struct CStringData
{
    long nRefs; // -1 marks the shared empty string, which is never freed
    int nDataLength;
    int nAllocLength;
    char* data() { return (char*)(this + 1); }
};

class CString
{
public:
    CString();
    CString(const CString& stringSrc);
    CString(char ch, int nRepeat = 1);
    CString(LPCSTR lpsz);
    CString(LPCSTR lpch, int nLength);
    CString(const unsigned char* psz);
    ~CString();

    int GetLength() const { return GetData()->nDataLength; }
    BOOL IsEmpty() const { return GetData()->nDataLength == 0; }
    void Empty();
    char GetAt(int nIndex) const { return m_pchData[nIndex]; }
    char operator[](int nIndex) const { return m_pchData[nIndex]; }
    void SetAt(int nIndex, char ch);
    operator LPCSTR() const { return m_pchData; }

    const CString& operator=(const CString& stringSrc);
    const CString& operator=(char ch);
    const CString& operator=(LPCSTR lpsz);
    const CString& operator=(const unsigned char* psz);
    const CString& operator+=(const CString& string);
    const CString& operator+=(char ch);
    const CString& operator+=(LPCSTR lpsz);

    friend CString AFXAPI operator+(const CString& a, const CString& b);
    friend CString AFXAPI operator+(const CString& a, char ch);
    friend CString AFXAPI operator+(char ch, const CString& a);
    friend CString AFXAPI operator+(const CString& a, LPCSTR b);
    friend CString AFXAPI operator+(LPCSTR a, const CString& b);

    int Compare(LPCSTR lpsz) const;
    int CompareNoCase(LPCSTR lpsz) const;
    int Collate(LPCSTR lpsz) const;
    int CollateNoCase(LPCSTR lpsz) const;

    CString Mid(int nFirst, int nCount) const;
    CString Mid(int nFirst) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCSTR lpszCharSet) const;
    CString SpanExcluding(LPCSTR lpszCharSet) const;

    void MakeUpper();
    void MakeLower();
    void MakeReverse();
    void TrimRight();
    void TrimLeft();
    void TrimRight(char chTarget);
    void TrimLeft(char chTarget);
    void TrimRight(LPCSTR lpszTargets);
    void TrimLeft(LPCSTR lpszTargets);
    void Trim()
    {
        TrimRight();
        TrimLeft();
    }

    int Replace(char chOld, char chNew);
    int Replace(LPCSTR lpszOld, LPCSTR lpszNew);
    int Remove(char chRemove);
    int Insert(int nIndex, char ch);
    int Insert(int nIndex, LPCSTR pstr);
    int Delete(int nIndex, int nCount = 1);

    // Searches never match the second byte of a double-byte character.
    int Find(char ch) const;
    int Find(char ch, int nStart) const;
    int Find(LPCSTR lpszSub) const;
    int Find(LPCSTR lpszSub, int nStart) const;
    int ReverseFind(char ch) const;
    int FindOneOf(LPCSTR lpszCharSet) const;

    // printf-style formatting. CString arguments may be passed as they are
    // (they are handed on as their text).
    template <class... Args>
    void Format(LPCSTR lpszFormat, const Args&... args)
    {
        FormatText(lpszFormat, FormatArg(args)...);
    }
    template <class... Args>
    void Format(UINT nFormatID, const Args&... args)
    {
        CString fmt;
        fmt.LoadString(nFormatID);
        FormatText(fmt.m_pchData, FormatArg(args)...);
    }
    void FormatV(LPCSTR lpszFormat, va_list argList);
    BOOL LoadString(UINT nID);

    LPSTR GetBuffer(int nMinBufLength);
    void ReleaseBuffer(int nNewLength = -1);
    LPSTR GetBufferSetLength(int nNewLength);
    void FreeExtra();
    LPSTR LockBuffer() { return GetBuffer(0); }
    void UnlockBuffer() {}
    BSTR AllocSysString() const;

    friend CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
    friend CArchive& AFXAPI operator>>(CArchive& ar, CString& string);

private:
    template <class T>
    static const T& FormatArg(const T& v)
    {
        return v;
    }
    static LPCSTR FormatArg(const CString& s) { return s.m_pchData; }
    void FormatText(LPCSTR lpszFormat, ...);

    CStringData* GetData() const { return ((CStringData*)m_pchData) - 1; }
    void Init();
    void AllocBuffer(int nLen);
    void Release();
    void AssignCopy(int nSrcLen, LPCSTR lpszSrcData);
    void ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData);
    void Reserve(int nLen); // keeps the contents

    LPSTR m_pchData;
};

static_assert(sizeof(CString) == sizeof(void*), "CString is one pointer");

bool AFXAPI operator==(const CString& s1, const CString& s2);
bool AFXAPI operator==(const CString& s1, LPCSTR s2);
bool AFXAPI operator==(LPCSTR s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, const CString& s2);
bool AFXAPI operator!=(const CString& s1, LPCSTR s2);
bool AFXAPI operator!=(LPCSTR s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, const CString& s2);
bool AFXAPI operator<(const CString& s1, LPCSTR s2);
bool AFXAPI operator>(const CString& s1, const CString& s2);
bool AFXAPI operator<=(const CString& s1, const CString& s2);
bool AFXAPI operator>=(const CString& s1, const CString& s2);

// The module whose resources LoadString and the dialogs read (the program
// itself unless a DLL sets its own).
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
HINSTANCE AFXAPI AfxGetInstanceHandle();
BOOL AFXAPI AfxIsDbcsLeadByte(BYTE b);
