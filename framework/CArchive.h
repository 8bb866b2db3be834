#pragma once
#include "CArchiveException.h"
#include "CFile.h"
#include "CString.h"

#include <map>
#include <vector>

class CDocument;

// Binary serialisation over a CFile, in the framework's own byte layout
// (little-endian):
//   counts:   u16 when below 0xFFFF, else 0xFFFF then u32
//   strings:  u8 length when below 0xFF, else 0xFF + u16 when below 0xFFFF,
//             else 0xFF 0xFFFF + u32; then the bytes
//   objects:  u16 0 = null; u16 0xFFFF = new class (u16 schema, u16 name
//             length, name) followed by the object; u16 0x8000|i = object of
//             the class with index i; for i >= 0x7FFF: u16 0x7FFF then
//             u32 0x80000000|i. Classes and objects share one index run
//             starting at 1 (0 is null).
// A reader refuses what it was not asked for (unknown class, wrong schema,
// null or repeated objects, counts beyond the data) with CArchiveException.
class CArchive
{
public:
    enum Mode { store = 0, load = 1, bNoFlushOnDelete = 2, bNoByteSwap = 4 };

    CArchive(CFile* pFile, UINT nMode, int nBufSize = 4096, void* lpBuf = NULL);
    ~CArchive();

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    BOOL IsBufferEmpty() const { return m_nLoadPos >= m_loadBuf.size(); }
    CFile* GetFile() const { return m_pFile; }

    UINT Read(void* lpBuf, UINT nMax);
    void Write(const void* lpBuf, UINT nMax);
    void Flush();
    void Close();
    void Abort(); // closes without writing what is buffered

    BOOL ReadString(CString& rString); // one line, without its line end
    LPSTR ReadString(LPSTR lpsz, UINT nMax);
    void WriteString(LPCSTR lpsz);

    CObject* ReadObject(const CRuntimeClass* pClass);
    void WriteObject(const CObject* pOb);
    CRuntimeClass* ReadClass(const CRuntimeClass* pClassRefRequested = NULL, UINT* pSchema = NULL,
                             DWORD* pObTag = NULL);
    void WriteClass(const CRuntimeClass* pClassRef);
    void SerializeClass(const CRuntimeClass* pClassRef);

    // A count read is refused when the data left cannot hold that many
    // elements of at least nMinElementSize bytes each.
    DWORD_PTR ReadCount(UINT nMinElementSize = 1);
    void WriteCount(DWORD_PTR dwCount);

    // Bytes left to read, as far as the file tells.
    DWORD GetRemaining() const;

    CArchive& operator<<(BYTE by)
    {
        Write(&by, 1);
        return *this;
    }
    CArchive& operator<<(WORD w)
    {
        Write(&w, 2);
        return *this;
    }
    CArchive& operator<<(LONG l)
    {
        Write(&l, 4);
        return *this;
    }
    CArchive& operator<<(DWORD dw)
    {
        Write(&dw, 4);
        return *this;
    }
    CArchive& operator<<(int i) { return *this << (LONG)i; }
    CArchive& operator<<(short w) { return *this << (WORD)w; }
    CArchive& operator<<(char ch) { return *this << (BYTE)ch; }
    CArchive& operator<<(unsigned u) { return *this << (DWORD)u; }
    CArchive& operator<<(float f)
    {
        Write(&f, 4);
        return *this;
    }
    CArchive& operator<<(double d)
    {
        Write(&d, 8);
        return *this;
    }
    CArchive& operator<<(bool b) { return *this << (BYTE)(b ? 1 : 0); }
    CArchive& operator<<(LONGLONG n)
    {
        Write(&n, 8);
        return *this;
    }
    CArchive& operator<<(ULONGLONG n)
    {
        Write(&n, 8);
        return *this;
    }

    CArchive& operator>>(BYTE& by)
    {
        ReadExact(&by, 1);
        return *this;
    }
    CArchive& operator>>(WORD& w)
    {
        ReadExact(&w, 2);
        return *this;
    }
    CArchive& operator>>(LONG& l)
    {
        ReadExact(&l, 4);
        return *this;
    }
    CArchive& operator>>(DWORD& dw)
    {
        ReadExact(&dw, 4);
        return *this;
    }
    CArchive& operator>>(int& i)
    {
        LONG l;
        *this >> l;
        i = (int)l;
        return *this;
    }
    CArchive& operator>>(short& w)
    {
        WORD v;
        *this >> v;
        w = (short)v;
        return *this;
    }
    CArchive& operator>>(char& ch)
    {
        BYTE b;
        *this >> b;
        ch = (char)b;
        return *this;
    }
    CArchive& operator>>(unsigned& u)
    {
        DWORD d;
        *this >> d;
        u = (unsigned)d;
        return *this;
    }
    CArchive& operator>>(float& f)
    {
        ReadExact(&f, 4);
        return *this;
    }
    CArchive& operator>>(double& d)
    {
        ReadExact(&d, 8);
        return *this;
    }
    CArchive& operator>>(bool& b)
    {
        BYTE v;
        *this >> v;
        b = v != 0;
        return *this;
    }
    CArchive& operator>>(LONGLONG& n)
    {
        ReadExact(&n, 8);
        return *this;
    }
    CArchive& operator>>(ULONGLONG& n)
    {
        ReadExact(&n, 8);
        return *this;
    }

    CArchive& operator<<(const CObject* pOb)
    {
        WriteObject(pOb);
        return *this;
    }
    CArchive& operator>>(CObject*& pOb)
    {
        pOb = ReadObject(NULL);
        return *this;
    }

    CDocument* m_pDocument;
    UINT m_nObjectSchema;
    CString m_strFileName;

private:
    void ReadExact(void* p, UINT n); // throws endOfFile on short data
    void FillBuffer();
    void Fail(int cause);

    CFile* m_pFile;
    UINT m_nMode;
    size_t m_nBufSize;
    std::vector<BYTE> m_storeBuf;
    std::vector<BYTE> m_loadBuf;
    size_t m_nLoadPos;
    BOOL m_bClosed;

    // Storing: index of every class and object written so far.
    std::map<const void*, DWORD> m_storeMap;
    // Loading: what each index stands for.
    struct Loaded
    {
        void* p;
        bool isClass;
    };
    std::vector<Loaded> m_loadArray;
    DWORD m_nMapCount;
};

CArchive& AFXAPI operator<<(CArchive& ar, const CString& string);
CArchive& AFXAPI operator>>(CArchive& ar, CString& string);
CArchive& AFXAPI operator<<(CArchive& ar, SIZE size);
CArchive& AFXAPI operator>>(CArchive& ar, SIZE& size);
CArchive& AFXAPI operator<<(CArchive& ar, POINT point);
CArchive& AFXAPI operator>>(CArchive& ar, POINT& point);
CArchive& AFXAPI operator<<(CArchive& ar, const RECT& rect);
CArchive& AFXAPI operator>>(CArchive& ar, RECT& rect);
