#include "CDravoRenderer.h"

#include "CDibPainter.h"
#include "CJpegCodec.h"
#include "CScopedLock.h"
#include "CTestPicture.h"

CDravoRenderer::CDravoRenderer(HWND window) : m_window(window)
{
    InitializeCriticalSection(&m_lock);
}

CDravoRenderer::~CDravoRenderer() { DeleteCriticalSection(&m_lock); }

void CDravoRenderer::SetNotify(HWND window, UINT message, WPARAM word)
{
    CScopedLock lock(&m_lock);
    m_notifyWindow = window;
    m_notifyMessage = message;
    m_notifyWord = word;
}

void CDravoRenderer::SetRecord(int flag, void* userData, DravoRecordCallback callback)
{
    CScopedLock lock(&m_lock);
    m_recordFlag = flag;
    m_recordUser = userData;
    m_recordCallback = callback;
}

bool CDravoRenderer::Render(const uint8_t* frame, int length)
{
    if (!frame || length < 1)
        return false;
    CScopedLock lock(&m_lock);
    if (m_recordFlag && m_recordCallback)
        m_recordCallback(m_recordUser, frame, length);

    const uint8_t* data = frame;
    size_t size = static_cast<size_t>(length);
    if (!CJpegCodec::LooksLikeJpeg(data, size) && size > 4 &&
        CJpegCodec::LooksLikeJpeg(data + 4, size - 4)) {
        data += 4;
        size -= 4;
    }
    int width = 0, height = 0;
    if (!CJpegCodec::Decode(data, size, m_decoded, width, height))
        return false;
    m_picture.swap(m_decoded);
    m_width = width;
    m_height = height;
    m_lastNumber = CTestPicture::ReadFrameNumber(m_picture.data(), width, height);
    if (m_render != 0)
        CDibPainter::Paint(m_window, &m_rect, m_picture.data(), width, height);
    if (m_notifyWindow && m_notifyMessage)
        PostMessageA(m_notifyWindow, m_notifyMessage, m_notifyWord, 0);
    CountRate(length);
    return true;
}

void CDravoRenderer::CountRate(int length)
{
    const DWORD now = GetTickCount();
    if (!m_rateRunning) {
        m_rateRunning = true;
        m_rateStart = now;
        m_rateBytes = 0;
    }
    m_rateBytes += static_cast<uint64_t>(length);
    const DWORD elapsed = now - m_rateStart;
    if (elapsed < RATE_WINDOW_MS)
        return;
    // Bits per millisecond are kbit/s; the high word holds up to 32767.
    uint64_t kbps = m_rateBytes * 8 / elapsed;
    if (kbps > 0x7FFF)
        kbps = 0x7FFF;
    m_rateStart = now;
    m_rateBytes = 0;
    if (kbps > 0 && m_notifyWindow && m_notifyMessage)
        PostMessageA(m_notifyWindow, m_notifyMessage, m_notifyWord,
                     MAKELPARAM(0, static_cast<WORD>(kbps)));
}

void CDravoRenderer::SetRect(const RECT& rect)
{
    CScopedLock lock(&m_lock);
    m_rect = rect;
}

void CDravoRenderer::SetRender(int value)
{
    CScopedLock lock(&m_lock);
    m_render = value;
}

bool CDravoRenderer::EraseBackground()
{
    CScopedLock lock(&m_lock);
    if (m_width > 0 && m_render != 0)
        return CDibPainter::Paint(m_window, &m_rect, m_picture.data(), m_width, m_height);
    return CDibPainter::Fill(m_window, &m_rect, RGB(0, 0, 0));
}

bool CDravoRenderer::Save(const char* path)
{
    CScopedLock lock(&m_lock);
    return CDibPainter::SaveBitmap(path, m_picture.data(), m_width, m_height);
}
