#pragma once
#include "CWBPage.h"
#include "afxwin.h"

// The model of one whiteboard: a fixed number of pages, the page size, and
// the document file ("KQDOC", ".kqf") that holds the pages' objects and the
// background pictures themselves.
class CWBDocument
{
public:
    CWBDocument();
    virtual ~CWBDocument();

    // A ".kqf" first file opens that document; otherwise nPages empty pages
    // with the given background pictures (the first sets the page size).
    BOOL Create(int nPages, const char* const* ppszFiles);
    // nPages empty pages; the first nBackgrounds get names of files under
    // the temporary folder, written later by whoever fills them.
    BOOL CreateBlank(int nPages, WORD nBackgrounds);
    BOOL Open(LPCTSTR lpszPath);
    BOOL Save(LPCTSTR lpszPath);
    void Clear();

    // FALSE (the caller keeps the object) for a page outside the document.
    BOOL AddObject(int nPage, CDrawObj* pObj);
    CDrawObj* RemoveObject(int nPage, DWORD id);
    CDrawObj* FindObject(int nPage, DWORD id);
    CWBPage* GetPage(int nPage);
    int GetPageCount() const { return m_nPages; }
    void GetPageSize(SIZE* pSize) const;
    void SetPageSize(SIZE size) { m_size = size; }
    const CString& GetPath() const { return m_strPath; }
    int CountBackgrounds();
    void GetBackgroundPaths(LPCTSTR* ppszOut, int nMax);
    UINT GetTotalBlobSize();
    int CountObjects();
    CRITICAL_SECTION* GetLock() { return &m_lock; }

    // The file's form; throws the framework's exceptions on errors.
    void Serialize(CArchive& ar);

    static BOOL GetPictureSize(LPCTSTR lpszPath, SIZE* pSize);
    static CString GetExtension(LPCTSTR lpszPath);
    static DWORD NewObjectId();
    // The program's folder followed by "temp\", made when missing.
    static CString GetTempFolder();
    // The name of page nPage's background restored at tick count dwTick.
    static CString BackgroundName(LPCTSTR lpszFolder, DWORD dwTick, int nPage);

protected:
    BOOL AllocPages(int nPages);

    CWBPage* m_pPages;
    int m_nPages;
    CSize m_size;
    CString m_strPath;
    CRITICAL_SECTION m_lock;

private:
    CWBDocument(const CWBDocument&) = delete;
    CWBDocument& operator=(const CWBDocument&) = delete;
};
