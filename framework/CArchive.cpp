#include "CArchive.h"

#include <string.h>

namespace {
const WORD kNullTag = 0;
const WORD kNewClassTag = 0xFFFF;
const WORD kClassTag = 0x8000;
const DWORD kBigClassTag = 0x80000000;
const WORD kBigObjectTag = 0x7FFF;
const DWORD kMaxMapCount = 0x3FFFFFFE;
} // namespace

CArchive::CArchive(CFile* pFile, UINT nMode, int nBufSize, void*)
    : m_pDocument(NULL), m_nObjectSchema((UINT)-1), m_pFile(pFile), m_nMode(nMode),
      m_nBufSize(nBufSize > 128 ? (size_t)nBufSize : 4096), m_nLoadPos(0), m_bClosed(FALSE),
      m_nMapCount(1)
{
    if (pFile)
        m_strFileName = pFile->GetFilePath();
    m_loadArray.push_back({NULL, false}); // index 0: null
}

CArchive::~CArchive()
{
    if (!m_bClosed) {
        if ((m_nMode & bNoFlushOnDelete) == 0 && IsStoring()) {
            try {
                Flush();
            } catch (CException* e) {
                e->Delete();
            }
        }
        m_bClosed = TRUE;
    }
}

void CArchive::Fail(int cause) { AfxThrowArchiveException(cause, m_strFileName); }

void CArchive::Close()
{
    if (m_bClosed)
        return;
    if (IsStoring())
        Flush();
    m_bClosed = TRUE;
    m_pFile = NULL;
}

void CArchive::Abort()
{
    m_storeBuf.clear();
    m_bClosed = TRUE;
    m_pFile = NULL;
}

void CArchive::Flush()
{
    if (IsStoring() && m_pFile && !m_storeBuf.empty()) {
        m_pFile->Write(m_storeBuf.data(), (UINT)m_storeBuf.size());
        m_storeBuf.clear();
    }
}

void CArchive::Write(const void* lpBuf, UINT nMax)
{
    if (!IsStoring())
        Fail(CArchiveException::readOnly);
    if (!m_pFile)
        Fail(CArchiveException::generic);
    const BYTE* p = (const BYTE*)lpBuf;
    if (nMax >= m_nBufSize) {
        Flush();
        m_pFile->Write(p, nMax);
        return;
    }
    m_storeBuf.insert(m_storeBuf.end(), p, p + nMax);
    if (m_storeBuf.size() >= m_nBufSize)
        Flush();
}

void CArchive::FillBuffer()
{
    m_loadBuf.erase(m_loadBuf.begin(), m_loadBuf.begin() + m_nLoadPos);
    m_nLoadPos = 0;
    size_t old = m_loadBuf.size();
    m_loadBuf.resize(old + m_nBufSize);
    UINT got = m_pFile ? m_pFile->Read(m_loadBuf.data() + old, (UINT)m_nBufSize) : 0;
    m_loadBuf.resize(old + got);
}

UINT CArchive::Read(void* lpBuf, UINT nMax)
{
    if (!IsLoading())
        Fail(CArchiveException::writeOnly);
    BYTE* out = (BYTE*)lpBuf;
    UINT done = 0;
    while (done < nMax) {
        if (m_nLoadPos >= m_loadBuf.size()) {
            // Large reads go straight to the file.
            if (nMax - done >= m_nBufSize && m_pFile) {
                m_loadBuf.clear();
                m_nLoadPos = 0;
                UINT got = m_pFile->Read(out + done, nMax - done);
                done += got;
                break;
            }
            FillBuffer();
            if (m_loadBuf.empty())
                break;
        }
        size_t n = m_loadBuf.size() - m_nLoadPos;
        if (n > nMax - done)
            n = nMax - done;
        memcpy(out + done, m_loadBuf.data() + m_nLoadPos, n);
        m_nLoadPos += n;
        done += (UINT)n;
    }
    return done;
}

void CArchive::ReadExact(void* p, UINT n)
{
    if (Read(p, n) != n)
        Fail(CArchiveException::endOfFile);
}

DWORD CArchive::GetRemaining() const
{
    DWORD buffered = (DWORD)(m_loadBuf.size() - m_nLoadPos);
    if (!m_pFile)
        return buffered;
    DWORD len = m_pFile->GetLength();
    DWORD pos = m_pFile->GetPosition();
    return buffered + (len > pos ? len - pos : 0);
}

BOOL CArchive::ReadString(CString& rString)
{
    rString.Empty();
    BYTE ch;
    bool any = false;
    while (Read(&ch, 1) == 1) {
        any = true;
        if (ch == '\n')
            break;
        if (ch == '\r') {
            // swallow a following '\n'
            if (Read(&ch, 1) == 1 && ch != '\n')
                --m_nLoadPos;
            break;
        }
        rString += (char)ch;
    }
    return any;
}

LPSTR CArchive::ReadString(LPSTR lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0)
        return NULL;
    CString s;
    if (!ReadString(s))
        return NULL;
    lstrcpynA(lpsz, s, nMax);
    return lpsz;
}

void CArchive::WriteString(LPCSTR lpsz)
{
    if (lpsz)
        Write(lpsz, (UINT)strlen(lpsz));
}

void CArchive::WriteCount(DWORD_PTR dwCount)
{
    if (dwCount < 0xFFFF) {
        *this << (WORD)dwCount;
    } else {
        *this << (WORD)0xFFFF;
        *this << (DWORD)dwCount;
    }
}

DWORD_PTR CArchive::ReadCount(UINT nMinElementSize)
{
    WORD w;
    *this >> w;
    DWORD n = w;
    if (w == 0xFFFF)
        *this >> n;
    if (nMinElementSize && n > GetRemaining() / nMinElementSize)
        Fail(CArchiveException::endOfFile);
    return n;
}

void CArchive::WriteClass(const CRuntimeClass* pClassRef)
{
    if (!IsStoring())
        Fail(CArchiveException::readOnly);
    if (!pClassRef || pClassRef->m_wSchema == 0xFFFF)
        AfxThrowNotSupportedException();
    auto it = m_storeMap.find(pClassRef);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << (WORD)(kClassTag | index);
        } else {
            *this << kBigObjectTag;
            *this << (DWORD)(kBigClassTag | index);
        }
        return;
    }
    *this << kNewClassTag;
    pClassRef->Store(*this);
    if (m_nMapCount >= kMaxMapCount)
        Fail(CArchiveException::badIndex);
    m_storeMap[pClassRef] = m_nMapCount++;
}

void CArchive::WriteObject(const CObject* pOb)
{
    if (!IsStoring())
        Fail(CArchiveException::readOnly);
    if (!pOb) {
        *this << kNullTag;
        return;
    }
    auto it = m_storeMap.find(pOb);
    if (it != m_storeMap.end()) {
        DWORD index = it->second;
        if (index < kBigObjectTag) {
            *this << (WORD)index;
        } else {
            *this << kBigObjectTag;
            *this << index;
        }
        return;
    }
    WriteClass(pOb->GetRuntimeClass());
    if (m_nMapCount >= kMaxMapCount)
        Fail(CArchiveException::badIndex);
    m_storeMap[pOb] = m_nMapCount++;
    const_cast<CObject*>(pOb)->Serialize(*this);
}

CRuntimeClass* CArchive::ReadClass(const CRuntimeClass* pClassRefRequested, UINT* pSchema,
                                   DWORD* pObTag)
{
    if (!IsLoading())
        Fail(CArchiveException::writeOnly);
    WORD wTag;
    *this >> wTag;
    DWORD obTag;
    if (wTag == kBigObjectTag)
        *this >> obTag;
    else
        obTag = ((DWORD)(wTag & kClassTag) << 16) | (DWORD)(wTag & 0x7FFF);

    if (!(obTag & kBigClassTag)) {
        // An object reference (or null), not a class: the caller decides.
        if (pObTag)
            *pObTag = obTag;
        else
            Fail(CArchiveException::badIndex);
        return NULL;
    }

    CRuntimeClass* pClass = NULL;
    UINT schema = 0;
    if (wTag == kNewClassTag) {
        pClass = CRuntimeClass::Load(*this, &schema);
        if (!pClass)
            Fail(CArchiveException::badClass);
        if (pClass->m_wSchema == 0xFFFF)
            Fail(CArchiveException::badClass);
        if ((pClass->m_wSchema & ~VERSIONABLE_SCHEMA) != schema &&
            !(pClass->m_wSchema & VERSIONABLE_SCHEMA))
            Fail(CArchiveException::badSchema);
        if (m_loadArray.size() >= kMaxMapCount)
            Fail(CArchiveException::badIndex);
        m_loadArray.push_back({pClass, true});
    } else {
        DWORD index = obTag & ~kBigClassTag;
        if (index == 0 || index >= m_loadArray.size() || !m_loadArray[index].isClass)
            Fail(CArchiveException::badIndex);
        pClass = (CRuntimeClass*)m_loadArray[index].p;
        schema = pClass->m_wSchema & ~VERSIONABLE_SCHEMA;
    }
    if (pClassRefRequested && !pClass->IsDerivedFrom(pClassRefRequested))
        Fail(CArchiveException::badClass);
    if (pSchema)
        *pSchema = schema;
    else
        m_nObjectSchema = schema;
    if (pObTag)
        *pObTag = 0;
    return pClass;
}

void CArchive::SerializeClass(const CRuntimeClass* pClassRef)
{
    if (IsStoring())
        WriteClass(pClassRef);
    else
        ReadClass(pClassRef, &m_nObjectSchema);
}

CObject* CArchive::ReadObject(const CRuntimeClass* pClassRefRequested)
{
    UINT schema = 0;
    DWORD obTag = 0;
    CRuntimeClass* pClass = ReadClass(pClassRefRequested, &schema, &obTag);
    if (!pClass) {
        // A null or an object already read where a new object is due: the
        // caller would end up with nothing or with one object twice.
        Fail(CArchiveException::badIndex);
    }
    CObject* pOb = pClass->CreateObject();
    if (!pOb)
        Fail(CArchiveException::badClass);
    if (m_loadArray.size() >= kMaxMapCount) {
        delete pOb;
        Fail(CArchiveException::badIndex);
    }
    m_loadArray.push_back({pOb, false});
    UINT oldSchema = m_nObjectSchema;
    m_nObjectSchema = schema;
    try {
        pOb->Serialize(*this);
    } catch (...) {
        m_loadArray.back().p = NULL;
        delete pOb;
        m_nObjectSchema = oldSchema;
        throw;
    }
    m_nObjectSchema = oldSchema;
    return pOb;
}

CArchive& AFXAPI operator<<(CArchive& ar, const CString& s)
{
    DWORD n = (DWORD)s.GetLength();
    if (n < 0xFF) {
        ar << (BYTE)n;
    } else if (n < 0xFFFE) {
        ar << (BYTE)0xFF << (WORD)n;
    } else {
        ar << (BYTE)0xFF << (WORD)0xFFFF << n;
    }
    ar.Write((LPCSTR)s, n);
    return ar;
}

CArchive& AFXAPI operator>>(CArchive& ar, CString& s)
{
    BYTE b;
    ar >> b;
    DWORD n = b;
    if (b == 0xFF) {
        WORD w;
        ar >> w;
        n = w;
        if (w == 0xFFFE) // a wide string: not part of an ANSI archive
            AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
        if (w == 0xFFFF)
            ar >> n;
    }
    if (n > ar.GetRemaining())
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    LPSTR p = s.GetBufferSetLength((int)n);
    UINT got = ar.Read(p, n);
    s.ReleaseBuffer((int)got);
    if (got != n)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    return ar;
}

CArchive& AFXAPI operator<<(CArchive& ar, SIZE size)
{
    return ar << (LONG)size.cx << (LONG)size.cy;
}
CArchive& AFXAPI operator>>(CArchive& ar, SIZE& size) { return ar >> size.cx >> size.cy; }
CArchive& AFXAPI operator<<(CArchive& ar, POINT point)
{
    return ar << (LONG)point.x << (LONG)point.y;
}
CArchive& AFXAPI operator>>(CArchive& ar, POINT& point) { return ar >> point.x >> point.y; }
CArchive& AFXAPI operator<<(CArchive& ar, const RECT& r)
{
    return ar << (LONG)r.left << (LONG)r.top << (LONG)r.right << (LONG)r.bottom;
}
CArchive& AFXAPI operator>>(CArchive& ar, RECT& r)
{
    return ar >> r.left >> r.top >> r.right >> r.bottom;
}
