#include "CString.h"
#include "CException.h"

#include <oleauto.h>
#include <stdio.h>
#include <string.h>

namespace {
// The shared empty string: its header says "never free" (-1), which every
// module recognises by the value and not by the address.
struct EmptyBlock
{
    CStringData head;
    char zero[4];
};
EmptyBlock g_empty = {{-1, 0, 0}, {0, 0, 0, 0}};
LPSTR EmptyData() { return g_empty.head.data(); }

int SafeLen(LPCSTR s) { return s ? (int)strlen(s) : 0; }
} // namespace

// Texts of this system are code page 936 whatever the machine's own code
// page, so the lead bytes are those of 936.
BOOL AFXAPI AfxIsDbcsLeadByte(BYTE b) { return b >= 0x81 && b <= 0xFE; }

void CString::Init() { m_pchData = EmptyData(); }

CString::CString() { Init(); }

CString::CString(const CString& s)
{
    Init();
    AssignCopy(s.GetLength(), s.m_pchData);
}

CString::CString(char ch, int nRepeat)
{
    Init();
    if (nRepeat > 0) {
        AllocBuffer(nRepeat);
        memset(m_pchData, ch, nRepeat);
    }
}

CString::CString(LPCSTR lpsz)
{
    Init();
    // A string resource id in the low word, as the Windows API allows.
    if (lpsz && HIWORD((DWORD_PTR)lpsz) == 0) {
        LoadString(LOWORD((DWORD_PTR)lpsz));
        return;
    }
    AssignCopy(SafeLen(lpsz), lpsz);
}

CString::CString(LPCSTR lpch, int nLength)
{
    Init();
    if (lpch && nLength > 0)
        AssignCopy(nLength, lpch);
}

CString::CString(const unsigned char* psz)
{
    Init();
    AssignCopy(SafeLen((LPCSTR)psz), (LPCSTR)psz);
}

CString::~CString() { Release(); }

void CString::Release()
{
    CStringData* d = GetData();
    if (d->nRefs != -1)
        AfxFree(d);
    Init();
}

void CString::AllocBuffer(int nLen)
{
    // Replaces the buffer by one for nLen characters (contents undefined).
    Release();
    if (nLen <= 0)
        return;
    CStringData* d = (CStringData*)AfxAlloc(sizeof(CStringData) + nLen + 1);
    d->nRefs = 1;
    d->nDataLength = nLen;
    d->nAllocLength = nLen;
    d->data()[nLen] = 0;
    m_pchData = d->data();
}

void CString::Reserve(int nLen)
{
    CStringData* old = GetData();
    if (old->nRefs != -1 && old->nAllocLength >= nLen)
        return;
    int keep = old->nDataLength;
    CStringData* d = (CStringData*)AfxAlloc(sizeof(CStringData) + nLen + 1);
    d->nRefs = 1;
    d->nDataLength = keep;
    d->nAllocLength = nLen;
    memcpy(d->data(), m_pchData, keep + 1);
    if (old->nRefs != -1)
        AfxFree(old);
    m_pchData = d->data();
}

void CString::AssignCopy(int nSrcLen, LPCSTR lpszSrcData)
{
    if (nSrcLen <= 0) {
        Empty();
        return;
    }
    // The source may lie inside this string.
    if (GetData()->nRefs != -1 && GetData()->nAllocLength >= nSrcLen) {
        memmove(m_pchData, lpszSrcData, nSrcLen);
    } else {
        CString keep;
        keep.m_pchData = m_pchData;
        m_pchData = EmptyData();
        AllocBuffer(nSrcLen);
        memcpy(m_pchData, lpszSrcData, nSrcLen);
    }
    GetData()->nDataLength = nSrcLen;
    m_pchData[nSrcLen] = 0;
}

void CString::ConcatInPlace(int nSrcLen, LPCSTR lpszSrcData)
{
    if (nSrcLen <= 0)
        return;
    int len = GetLength();
    if (GetData()->nRefs == -1 || GetData()->nAllocLength < len + nSrcLen) {
        // Grow geometrically; the source may point into this string.
        CString keep;
        keep.m_pchData = m_pchData;
        int want = len + nSrcLen;
        if (want < len * 2)
            want = len * 2;
        CStringData* d = (CStringData*)AfxAlloc(sizeof(CStringData) + want + 1);
        d->nRefs = 1;
        d->nAllocLength = want;
        memcpy(d->data(), keep.m_pchData, len);
        memcpy(d->data() + len, lpszSrcData, nSrcLen);
        m_pchData = d->data();
    } else {
        memmove(m_pchData + len, lpszSrcData, nSrcLen);
    }
    GetData()->nDataLength = len + nSrcLen;
    m_pchData[len + nSrcLen] = 0;
}

void CString::Empty() { Release(); }

void CString::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < GetLength())
        m_pchData[nIndex] = ch;
}

const CString& CString::operator=(const CString& s)
{
    if (this != &s)
        AssignCopy(s.GetLength(), s.m_pchData);
    return *this;
}

const CString& CString::operator=(char ch)
{
    AssignCopy(1, &ch);
    return *this;
}

const CString& CString::operator=(LPCSTR lpsz)
{
    AssignCopy(SafeLen(lpsz), lpsz);
    return *this;
}

const CString& CString::operator=(const unsigned char* psz) { return *this = (LPCSTR)psz; }

const CString& CString::operator+=(const CString& s)
{
    ConcatInPlace(s.GetLength(), s.m_pchData);
    return *this;
}

const CString& CString::operator+=(char ch)
{
    ConcatInPlace(1, &ch);
    return *this;
}

const CString& CString::operator+=(LPCSTR lpsz)
{
    ConcatInPlace(SafeLen(lpsz), lpsz);
    return *this;
}

CString AFXAPI operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString AFXAPI operator+(const CString& a, char ch)
{
    CString r(a);
    r += ch;
    return r;
}
CString AFXAPI operator+(char ch, const CString& a)
{
    CString r(ch);
    r += a;
    return r;
}
CString AFXAPI operator+(const CString& a, LPCSTR b)
{
    CString r(a);
    r += b;
    return r;
}
CString AFXAPI operator+(LPCSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

int CString::Compare(LPCSTR lpsz) const { return strcmp(m_pchData, lpsz ? lpsz : ""); }
int CString::CompareNoCase(LPCSTR lpsz) const { return lstrcmpiA(m_pchData, lpsz ? lpsz : ""); }
int CString::Collate(LPCSTR lpsz) const { return lstrcmpA(m_pchData, lpsz ? lpsz : ""); }
int CString::CollateNoCase(LPCSTR lpsz) const { return lstrcmpiA(m_pchData, lpsz ? lpsz : ""); }

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength() - nFirst); }

CString CString::Mid(int nFirst, int nCount) const
{
    int len = GetLength();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst > len)
        nFirst = len;
    if (nCount > len - nFirst)
        nCount = len - nFirst;
    return CString(m_pchData + nFirst, nCount);
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const
{
    int len = GetLength();
    if (nCount < 0)
        nCount = 0;
    if (nCount > len)
        nCount = len;
    return CString(m_pchData + len - nCount, nCount);
}

CString CString::SpanIncluding(LPCSTR set) const
{
    return Left((int)strspn(m_pchData, set ? set : ""));
}

CString CString::SpanExcluding(LPCSTR set) const
{
    return Left((int)strcspn(m_pchData, set ? set : ""));
}

void CString::MakeUpper()
{
    for (int i = 0; i < GetLength(); ++i) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < GetLength())
            ++i;
        else if (b >= 'a' && b <= 'z')
            m_pchData[i] = (char)(b - 'a' + 'A');
    }
}

void CString::MakeLower()
{
    for (int i = 0; i < GetLength(); ++i) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < GetLength())
            ++i;
        else if (b >= 'A' && b <= 'Z')
            m_pchData[i] = (char)(b - 'A' + 'a');
    }
}

void CString::MakeReverse()
{
    // Reverses characters, keeping each double-byte pair in order.
    int len = GetLength();
    if (len < 2)
        return;
    CString src(*this);
    int out = len;
    for (int i = 0; i < len;) {
        int n = (AfxIsDbcsLeadByte((BYTE)src.m_pchData[i]) && i + 1 < len) ? 2 : 1;
        out -= n;
        memcpy(m_pchData + out, src.m_pchData + i, n);
        i += n;
    }
}

void CString::TrimRight() { TrimRight(" \t\r\n\v\f"); }
void CString::TrimLeft() { TrimLeft(" \t\r\n\v\f"); }
void CString::TrimRight(char chTarget)
{
    char set[2] = {chTarget, 0};
    TrimRight(set);
}
void CString::TrimLeft(char chTarget)
{
    char set[2] = {chTarget, 0};
    TrimLeft(set);
}

void CString::TrimRight(LPCSTR targets)
{
    if (!targets)
        return;
    // Walk forward so that a trail byte is never taken for a single char.
    int len = GetLength();
    int keep = 0;
    for (int i = 0; i < len;) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < len) {
            i += 2;
            keep = i;
        } else {
            ++i;
            if (!strchr(targets, b) || b == 0)
                keep = i;
        }
    }
    if (keep < len) {
        m_pchData[keep] = 0;
        GetData()->nDataLength = keep;
    }
}

void CString::TrimLeft(LPCSTR targets)
{
    if (!targets)
        return;
    int len = GetLength();
    int i = 0;
    while (i < len && !AfxIsDbcsLeadByte((BYTE)m_pchData[i]) && strchr(targets, m_pchData[i]))
        ++i;
    if (i > 0) {
        memmove(m_pchData, m_pchData + i, len - i + 1);
        GetData()->nDataLength = len - i;
    }
}

int CString::Replace(char chOld, char chNew)
{
    int n = 0;
    for (int i = 0; i < GetLength(); ++i) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < GetLength()) {
            ++i;
            continue;
        }
        if (m_pchData[i] == chOld) {
            m_pchData[i] = chNew;
            ++n;
        }
    }
    return n;
}

int CString::Replace(LPCSTR lpszOld, LPCSTR lpszNew)
{
    int oldLen = SafeLen(lpszOld);
    if (oldLen == 0)
        return 0;
    CString out;
    int n = 0, from = 0;
    for (int pos = Find(lpszOld, 0); pos >= 0; pos = Find(lpszOld, from)) {
        out += Mid(from, pos - from);
        out += lpszNew;
        from = pos + oldLen;
        ++n;
    }
    if (n) {
        out += Mid(from);
        *this = out;
    }
    return n;
}

int CString::Remove(char chRemove)
{
    int len = GetLength(), out = 0, n = 0;
    for (int i = 0; i < len; ++i) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < len) {
            m_pchData[out++] = m_pchData[i++];
            m_pchData[out++] = m_pchData[i];
            continue;
        }
        if (m_pchData[i] == chRemove)
            ++n;
        else
            m_pchData[out++] = m_pchData[i];
    }
    if (n) {
        m_pchData[out] = 0;
        GetData()->nDataLength = out;
    }
    return n;
}

int CString::Insert(int nIndex, char ch)
{
    char s[2] = {ch, 0};
    return Insert(nIndex, s);
}

int CString::Insert(int nIndex, LPCSTR pstr)
{
    int len = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex > len)
        nIndex = len;
    int add = SafeLen(pstr);
    if (add) {
        CString out(m_pchData, nIndex);
        out += pstr;
        out += m_pchData + nIndex;
        *this = out;
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    int len = GetLength();
    if (nIndex < 0)
        nIndex = 0;
    if (nCount > 0 && nIndex < len) {
        if (nCount > len - nIndex)
            nCount = len - nIndex;
        memmove(m_pchData + nIndex, m_pchData + nIndex + nCount, len - nIndex - nCount + 1);
        GetData()->nDataLength = len - nCount;
    }
    return GetLength();
}

int CString::Find(char ch) const { return Find(ch, 0); }

int CString::Find(char ch, int nStart) const
{
    int len = GetLength();
    for (int i = 0; i < len; ++i) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < len) {
            ++i;
            continue;
        }
        if (i >= nStart && m_pchData[i] == ch)
            return i;
    }
    return -1;
}

int CString::Find(LPCSTR lpszSub) const { return Find(lpszSub, 0); }

int CString::Find(LPCSTR lpszSub, int nStart) const
{
    int sub = SafeLen(lpszSub);
    int len = GetLength();
    if (nStart < 0)
        nStart = 0;
    if (sub == 0)
        return nStart <= len ? nStart : -1;
    for (int i = 0; i + sub <= len;) {
        if (i >= nStart && memcmp(m_pchData + i, lpszSub, sub) == 0)
            return i;
        i += (AfxIsDbcsLeadByte((BYTE)m_pchData[i]) && i + 1 < len) ? 2 : 1;
    }
    return -1;
}

int CString::ReverseFind(char ch) const
{
    int found = -1;
    int len = GetLength();
    for (int i = 0; i < len; ++i) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < len) {
            ++i;
            continue;
        }
        if (m_pchData[i] == ch)
            found = i;
    }
    return found;
}

int CString::FindOneOf(LPCSTR set) const
{
    int len = GetLength();
    for (int i = 0; i < len; ++i) {
        BYTE b = (BYTE)m_pchData[i];
        if (AfxIsDbcsLeadByte(b) && i + 1 < len) {
            ++i;
            continue;
        }
        if (set && b && strchr(set, b))
            return i;
    }
    return -1;
}

void CString::FormatV(LPCSTR lpszFormat, va_list argList)
{
    if (!lpszFormat) {
        Empty();
        return;
    }
    va_list copy;
    va_copy(copy, argList);
    int n = vsnprintf(NULL, 0, lpszFormat, copy);
    va_end(copy);
    if (n <= 0) {
        Empty();
        return;
    }
    CString out;
    out.AllocBuffer(n);
    vsnprintf(out.m_pchData, n + 1, lpszFormat, argList);
    *this = out;
}

void CString::FormatText(LPCSTR lpszFormat, ...)
{
    va_list args;
    va_start(args, lpszFormat);
    FormatV(lpszFormat, args);
    va_end(args);
}

BOOL CString::LoadString(UINT nID)
{
    // A table entry may hold up to 65535 characters (two bytes each in code
    // page 936). A text that reaches the end of the buffer, or the byte
    // before it (a double-byte character that did not fit), may have been
    // cut, so it is read again into a larger one.
    CString text;
    int n = 0;
    for (int room = 256;; room *= 2) {
        n = ::LoadStringA(AfxGetResourceHandle(), nID, text.GetBuffer(room), room + 1);
        if (n < room - 1 || room >= 0x20000)
            break;
    }
    if (n <= 0) {
        Empty();
        return FALSE;
    }
    text.ReleaseBuffer(n);
    *this = text;
    return TRUE;
}

LPSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength < GetLength())
        nMinBufLength = GetLength();
    if (nMinBufLength == 0 && GetData()->nRefs == -1)
        nMinBufLength = 1; // the caller may write the terminating zero
    Reserve(nMinBufLength);
    return m_pchData;
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (GetData()->nRefs == -1)
        return;
    if (nNewLength < 0)
        nNewLength = (int)strnlen(m_pchData, GetData()->nAllocLength);
    if (nNewLength > GetData()->nAllocLength)
        nNewLength = GetData()->nAllocLength;
    GetData()->nDataLength = nNewLength;
    m_pchData[nNewLength] = 0;
}

LPSTR CString::GetBufferSetLength(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = 0; // never a length that writes before the text
    GetBuffer(nNewLength);
    if (GetData()->nRefs != -1) {
        GetData()->nDataLength = nNewLength;
        m_pchData[nNewLength] = 0;
    }
    return m_pchData;
}

void CString::FreeExtra()
{
    if (GetData()->nRefs != -1 && GetData()->nAllocLength > GetLength()) {
        CString copy(m_pchData, GetLength());
        *this = CString();
        *this = copy;
    }
}

BSTR CString::AllocSysString() const
{
    int n = MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), NULL, 0);
    BSTR b = SysAllocStringLen(NULL, n);
    if (b)
        MultiByteToWideChar(CP_ACP, 0, m_pchData, GetLength(), b, n);
    return b;
}

bool AFXAPI operator==(const CString& s1, const CString& s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(const CString& s1, LPCSTR s2) { return s1.Compare(s2) == 0; }
bool AFXAPI operator==(LPCSTR s1, const CString& s2) { return s2.Compare(s1) == 0; }
bool AFXAPI operator!=(const CString& s1, const CString& s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(const CString& s1, LPCSTR s2) { return s1.Compare(s2) != 0; }
bool AFXAPI operator!=(LPCSTR s1, const CString& s2) { return s2.Compare(s1) != 0; }
bool AFXAPI operator<(const CString& s1, const CString& s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator<(const CString& s1, LPCSTR s2) { return s1.Compare(s2) < 0; }
bool AFXAPI operator>(const CString& s1, const CString& s2) { return s1.Compare(s2) > 0; }
bool AFXAPI operator<=(const CString& s1, const CString& s2) { return s1.Compare(s2) <= 0; }
bool AFXAPI operator>=(const CString& s1, const CString& s2) { return s1.Compare(s2) >= 0; }
