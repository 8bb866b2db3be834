#include "CWBPicture.h"

#include <ole2.h>
#include <olectl.h>

#include <vector>

CWBPicture::CWBPicture() : m_picture(NULL) {}

CWBPicture::~CWBPicture() { Release(); }

void CWBPicture::Release()
{
    if (m_picture) {
        m_picture->Release();
        m_picture = NULL;
    }
}

BOOL CWBPicture::Load(const void* bytes, DWORD length)
{
    Release();
    if (!bytes || length == 0)
        return FALSE;
    // The stream owns the memory from here on and frees it with itself.
    HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, length);
    if (!mem)
        return FALSE;
    memcpy(::GlobalLock(mem), bytes, length);
    ::GlobalUnlock(mem);
    IStream* stream = NULL;
    if (FAILED(::CreateStreamOnHGlobal(mem, TRUE, &stream))) {
        ::GlobalFree(mem);
        return FALSE;
    }
    IPicture* picture = NULL;
    if (SUCCEEDED(::OleLoadPicture(stream, (LONG)length, FALSE, IID_IPicture, (void**)&picture)))
        m_picture = picture;
    stream->Release();
    return m_picture != NULL;
}

BOOL CWBPicture::LoadFile(LPCTSTR lpszPath)
{
    Release();
    CFile file;
    if (!file.Open(lpszPath, CFile::modeRead | CFile::shareDenyWrite))
        return FALSE;
    std::vector<BYTE> bytes;
    try {
        bytes.resize(file.GetLength());
        if (bytes.empty() || file.Read(bytes.data(), (UINT)bytes.size()) != bytes.size())
            return FALSE;
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return Load(bytes.data(), (DWORD)bytes.size());
}

SIZE CWBPicture::GetPixelSize() const
{
    SIZE size = {0, 0};
    if (!m_picture)
        return size;
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    m_picture->get_Width(&w);
    m_picture->get_Height(&h);
    HDC screen = ::GetDC(NULL);
    int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX), dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(NULL, screen);
    size.cx = (LONG)(((LONGLONG)w * dpiX + 1270) / 2540);
    size.cy = (LONG)(((LONGLONG)h * dpiY + 1270) / 2540);
    return size;
}

BOOL CWBPicture::Render(CDC* pDC, int cx, int cy, CBitmap& bitmap) const
{
    if (!m_picture || cx <= 0 || cy <= 0)
        return FALSE;
    CDC mdc;
    if (!mdc.CreateCompatibleDC(pDC) || !bitmap.CreateCompatibleBitmap(pDC, cx, cy))
        return FALSE;
    CBitmap* old = mdc.SelectObject(&bitmap);
    mdc.FillSolidRect(0, 0, cx, cy, RGB(255, 255, 255));
    OLE_XSIZE_HIMETRIC w = 0;
    OLE_YSIZE_HIMETRIC h = 0;
    m_picture->get_Width(&w);
    m_picture->get_Height(&h);
    // Picture units run upwards: start at the top and go down.
    m_picture->Render(mdc.GetSafeHdc(), 0, 0, cx, cy, 0, h, w, -h, NULL);
    mdc.SelectObject(old);
    return TRUE;
}
