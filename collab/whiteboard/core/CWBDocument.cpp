#include "CWBDocument.h"

#include "CScopedLock.h"
#include "CWBPicture.h"

#include <new>
#include <string.h>
#include <vector>

namespace {
const char kMagic[5] = {'K', 'Q', 'D', 'O', 'C'};
const UINT kChunk = 0xC000;
// The least a page takes in a file: its object count and its background size.
const DWORD kMinPageBytes = 2 + 4;
// The least an object takes: a class reference, type code, id and length.
const UINT kMinObjectBytes = 2 + 1 + 4 + 4;
LONG g_nIdCounter = 0;
LONG g_nLastNameTick = 0; // 0: none given yet

// The tick count that names a document's temporary page files. Documents
// made within one tick (a board history that opens several at once) would
// share their page files and fetch each other's pages over them: each
// document gets a tick of its own, the next one when its own is taken.
DWORD NameTick()
{
    for (;;) {
        const LONG last = g_nLastNameTick;
        DWORD tick = GetTickCount();
        if (last != 0 && (LONG)(tick - (DWORD)last) <= 0)
            tick = (DWORD)last + 1;
        if (tick == 0)
            tick = 1;
        if (InterlockedCompareExchange(&g_nLastNameTick, (LONG)tick, last) == last)
            return tick;
    }
}
} // namespace

CWBDocument::CWBDocument() : m_pPages(NULL), m_nPages(0), m_size(600, 800)
{
    InitializeCriticalSection(&m_lock);
}

CWBDocument::~CWBDocument()
{
    Clear();
    DeleteCriticalSection(&m_lock);
}

BOOL CWBDocument::AllocPages(int nPages)
{
    if (nPages <= 0)
        return FALSE;
    CWBPage* pages = new (std::nothrow) CWBPage[nPages];
    if (!pages)
        return FALSE;
    CScopedLock lock(&m_lock);
    m_pPages = pages;
    m_nPages = nPages;
    return TRUE;
}

BOOL CWBDocument::Create(int nPages, const char* const* ppszFiles)
{
    Clear();
    if (ppszFiles && ppszFiles[0] && GetExtension(ppszFiles[0]) == "kqf") {
        m_strPath = ppszFiles[0];
        return Open(ppszFiles[0]);
    }
    if (!AllocPages(nPages))
        return FALSE;
    if (!ppszFiles)
        return TRUE;
    if (!ppszFiles[0] || !GetPictureSize(ppszFiles[0], &m_size))
        return FALSE;
    for (int i = 0; i < nPages; ++i)
        if (ppszFiles[i])
            m_pPages[i].m_strBackground = ppszFiles[i];
    return TRUE;
}

BOOL CWBDocument::CreateBlank(int nPages, WORD nBackgrounds)
{
    Clear();
    if (!AllocPages(nPages))
        return FALSE;
    if (nBackgrounds > 0) {
        CString folder = GetTempFolder();
        DWORD tick = NameTick();
        for (int i = 0; i < nPages && i < nBackgrounds; ++i)
            m_pPages[i].m_strBackground = BackgroundName(folder, tick, i);
    }
    return TRUE;
}

BOOL CWBDocument::Open(LPCTSTR lpszPath)
{
    if (!lpszPath || !*lpszPath)
        return FALSE;
    CFile file;
    if (!file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    m_strPath = lpszPath;
    CScopedLock lock(&m_lock);
    BOOL ok = FALSE;
    try {
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        ok = TRUE;
    } catch (CException* e) {
        e->Delete();
    } catch (const std::bad_alloc&) {}
    file.Abort();
    if (!ok) {
        // Nothing half read stays behind.
        Clear();
        m_strPath.Empty();
    }
    return ok;
}

BOOL CWBDocument::Save(LPCTSTR lpszPath)
{
    if (!lpszPath || !*lpszPath)
        return FALSE;
    CFile file;
    if (!file.Open(lpszPath, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive))
        return FALSE;
    BOOL ok = FALSE;
    {
        CScopedLock lock(&m_lock);
        try {
            CArchive ar(&file, CArchive::store);
            Serialize(ar);
            ar.Close();
            file.Close();
            ok = TRUE;
        } catch (CException* e) {
            e->Delete();
        } catch (const std::bad_alloc&) {}
    }
    if (!ok) {
        // A file cut short would be refused on opening: leave none.
        file.Abort();
        ::DeleteFileA(lpszPath);
        return FALSE;
    }
    m_strPath = lpszPath;
    return TRUE;
}

void CWBDocument::Clear()
{
    CScopedLock lock(&m_lock);
    delete[] m_pPages; // each page deletes its objects
    m_pPages = NULL;
    m_nPages = 0;
}

BOOL CWBDocument::AddObject(int nPage, CDrawObj* pObj)
{
    CScopedLock lock(&m_lock);
    if (!pObj || nPage < 0 || nPage >= m_nPages)
        return FALSE;
    m_pPages[nPage].Add(pObj);
    return TRUE;
}

CDrawObj* CWBDocument::RemoveObject(int nPage, DWORD id)
{
    CScopedLock lock(&m_lock);
    if (nPage < 0 || nPage >= m_nPages)
        return NULL;
    return m_pPages[nPage].Remove(id);
}

CDrawObj* CWBDocument::FindObject(int nPage, DWORD id)
{
    CScopedLock lock(&m_lock);
    if (nPage < 0 || nPage >= m_nPages)
        return NULL;
    return m_pPages[nPage].Find(id);
}

CWBPage* CWBDocument::GetPage(int nPage)
{
    if (nPage < 0 || nPage >= m_nPages)
        return NULL;
    return &m_pPages[nPage];
}

void CWBDocument::GetPageSize(SIZE* pSize) const
{
    if (pSize)
        *pSize = m_size;
}

int CWBDocument::CountBackgrounds()
{
    int n = 0;
    for (int i = 0; i < m_nPages; ++i)
        n += !m_pPages[i].m_strBackground.IsEmpty();
    return n;
}

void CWBDocument::GetBackgroundPaths(LPCTSTR* ppszOut, int nMax)
{
    for (int i = 0; ppszOut && i < nMax && i < m_nPages; ++i)
        ppszOut[i] = m_pPages[i].m_strBackground;
}

UINT CWBDocument::GetTotalBlobSize()
{
    CScopedLock lock(&m_lock);
    UINT total = 0;
    for (int i = 0; i < m_nPages; ++i)
        for (POSITION pos = m_pPages[i].GetHeadPosition(); pos;)
            total += m_pPages[i].GetNext(pos)->Pack(NULL, 0);
    return total;
}

int CWBDocument::CountObjects()
{
    CScopedLock lock(&m_lock);
    int n = 0;
    for (int i = 0; i < m_nPages; ++i)
        n += m_pPages[i].GetCount();
    return n;
}

DWORD CWBDocument::NewObjectId()
{
    DWORD c = (DWORD)InterlockedIncrement(&g_nIdCounter) - 1;
    return (((GetTickCount() << 8) + GetCurrentThreadId()) << 8) + c;
}

CString CWBDocument::GetExtension(LPCTSTR lpszPath)
{
    if (!lpszPath)
        return CString();
    const char* dot = strrchr(lpszPath, '.');
    if (!dot)
        return CString();
    CString ext(dot + 1);
    ext.MakeLower();
    return ext;
}

CString CWBDocument::GetTempFolder()
{
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    char drive[_MAX_DRIVE], dir[_MAX_DIR];
    _splitpath(path, drive, dir, NULL, NULL);
    CString folder;
    folder.Format("%s%stemp\\", drive, dir);
    ::CreateDirectoryA(folder, NULL);
    return folder;
}

CString CWBDocument::BackgroundName(LPCTSTR lpszFolder, DWORD dwTick, int nPage)
{
    // The separator keeps tick 51, page 2 apart from tick 5, page 12.
    CString name;
    name.Format("%s%u_%d", lpszFolder ? lpszFolder : "", dwTick, nPage);
    return name;
}

BOOL CWBDocument::GetPictureSize(LPCTSTR lpszPath, SIZE* pSize)
{
    if (!lpszPath || !*lpszPath || !pSize)
        return FALSE;
    CWBPicture picture;
    if (!picture.LoadFile(lpszPath))
        return FALSE;
    *pSize = picture.GetPixelSize();
    return TRUE;
}

void CWBDocument::Serialize(CArchive& ar)
{
    CScopedLock lock(&m_lock);
    if (ar.IsStoring()) {
        if (m_nPages <= 0)
            return;
        ar.Write(kMagic, sizeof kMagic);
        ar << (LONG)m_nPages;
        for (int i = 0; i < m_nPages; ++i) {
            CWBPage& page = m_pPages[i];
            ar.WriteCount(page.GetCount());
            for (POSITION pos = page.GetHeadPosition(); pos;)
                ar.WriteObject(page.GetNext(pos));
        }
        std::vector<BYTE> chunk;
        for (int i = 0; i < m_nPages; ++i) {
            CFile picture;
            const CString& name = m_pPages[i].m_strBackground;
            if (name.IsEmpty() || !picture.Open(name, CFile::modeRead | CFile::shareDenyWrite)) {
                ar << (DWORD)0;
                continue;
            }
            DWORD size = picture.GetLength();
            ar << size;
            chunk.resize(kChunk);
            for (DWORD done = 0; done < size;) {
                UINT want = size - done < kChunk ? size - done : kChunk;
                UINT got = picture.Read(chunk.data(), want);
                // A file that shrank under us would leave the entry's size
                // wrong: the whole save fails instead.
                if (got != want)
                    AfxThrowArchiveException(CArchiveException::endOfFile, name);
                ar.Write(chunk.data(), got);
                done += got;
            }
        }
        return;
    }

    char magic[sizeof kMagic];
    if (ar.Read(magic, sizeof magic) != sizeof magic || memcmp(magic, kMagic, sizeof magic) != 0)
        AfxThrowArchiveException(CArchiveException::badSchema, ar.m_strFileName);
    LONG nPages;
    ar >> nPages;
    if (nPages <= 0)
        return;
    if ((DWORD)nPages > ar.GetRemaining() / kMinPageBytes)
        AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
    Clear();
    if (!AllocPages(nPages))
        AfxThrowArchiveException(CArchiveException::generic, ar.m_strFileName);
    for (int i = 0; i < nPages; ++i) {
        DWORD_PTR count = ar.ReadCount(kMinObjectBytes);
        while (count--) {
            // Only the drawing classes: no null, no object twice, nothing else.
            CObject* ob = ar.ReadObject(RUNTIME_CLASS(CDrawObj));
            m_pPages[i].Add(static_cast<CDrawObj*>(ob));
        }
    }
    DWORD tick = NameTick();
    CString folder = GetTempFolder();
    std::vector<BYTE> chunk(kChunk);
    for (int i = 0; i < nPages; ++i) {
        DWORD size;
        ar >> size;
        if (size == 0)
            continue;
        if (size > ar.GetRemaining())
            AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
        CString name = BackgroundName(folder, tick, i);
        CFile out;
        if (!out.Open(name, CFile::modeCreate | CFile::modeWrite | CFile::shareExclusive))
            break; // this page and the ones after it keep no background
        BOOL written = TRUE;
        for (DWORD done = 0; done < size;) {
            UINT want = size - done < kChunk ? size - done : kChunk;
            if (ar.Read(chunk.data(), want) != want)
                AfxThrowArchiveException(CArchiveException::endOfFile, ar.m_strFileName);
            try {
                out.Write(chunk.data(), want);
            } catch (CException* e) {
                e->Delete();
                written = FALSE;
                break;
            }
            done += want;
        }
        out.Abort();
        if (!written) {
            ::DeleteFileA(name);
            break;
        }
        m_pPages[i].m_strBackground = name;
    }
    if (!m_pPages[0].m_strBackground.IsEmpty())
        GetPictureSize(m_pPages[0].m_strBackground, &m_size);
}
