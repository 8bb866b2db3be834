#include "CDravoPreview.h"

#include "CDibPainter.h"
#include "CScopedLock.h"

CDravoPreview::CDravoPreview(HWND window) : m_window(window) { InitializeCriticalSection(&m_lock); }

CDravoPreview::~CDravoPreview() { DeleteCriticalSection(&m_lock); }

void CDravoPreview::SetRect(const RECT& rect)
{
    CScopedLock lock(&m_lock);
    m_rect = rect;
}

void CDravoPreview::SetRender(int value)
{
    CScopedLock lock(&m_lock);
    m_render = value;
}

void CDravoPreview::Show(const uint8_t* bgr, int width, int height)
{
    CScopedLock lock(&m_lock);
    m_last.assign(bgr, bgr + static_cast<size_t>(width) * height * 3);
    m_width = width;
    m_height = height;
    // Render value 0 keeps the window as it is; any other value draws.
    if (m_render != 0)
        CDibPainter::Paint(m_window, &m_rect, bgr, width, height);
}

bool CDravoPreview::Save(const char* path)
{
    CScopedLock lock(&m_lock);
    return CDibPainter::SaveBitmap(path, m_last.data(), m_width, m_height);
}
