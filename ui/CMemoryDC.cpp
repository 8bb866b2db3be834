#include "CMemoryDC.h"

CMemoryDC::CMemoryDC(int cx, int cy) : m_pOldBitmap(NULL), m_nHeight(cy), m_nWidth(cx)
{
    HDC screen = ::GetDC(::GetDesktopWindow());
    Attach(::CreateCompatibleDC(screen));
    // A zero-sized surface would make the DC monochrome: keep at least 1 x 1.
    m_bitmap.Attach(::CreateCompatibleBitmap(screen, cx > 0 ? cx : 1, cy > 0 ? cy : 1));
    ::ReleaseDC(::GetDesktopWindow(), screen);
    if (m_hDC && m_bitmap.GetSafeHandle())
        m_pOldBitmap = SelectObject(&m_bitmap);
}

CMemoryDC::~CMemoryDC()
{
    if (m_hDC && m_pOldBitmap)
        SelectObject(m_pOldBitmap);
    HDC hdc = Detach();
    if (hdc)
        ::DeleteDC(hdc);
    m_bitmap.DeleteObject();
}
