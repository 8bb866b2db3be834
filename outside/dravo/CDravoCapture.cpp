#include "CDravoCapture.h"

#include <algorithm>

#include "CDravoPreview.h"
#include "CJpegCodec.h"
#include "CScopedLock.h"
#include "CTestPicture.h"

namespace {

int Clamp(int value, int low, int high)
{
    return value < low ? low : (value > high ? high : value);
}

} // namespace

CDravoCapture::CDravoCapture(const DRAVO_CAPTURE_PARAMS* params, void* context,
                             DravoFrameCallback callback)
    : CNamedThread("DravoCapture"), m_context(context), m_callback(callback)
{
    m_stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    InitializeCriticalSection(&m_lock);
    m_copy = *params;
    char flag[8] = {0};
    m_lockedCallback =
        GetEnvironmentVariableA("DRAVO_LOCKED_CALLBACK", flag, sizeof flag) > 0 && flag[0] == '1';
}

CDravoCapture::~CDravoCapture()
{
    Close();
    if (m_stop)
        CloseHandle(m_stop);
    DeleteCriticalSection(&m_lock);
}

bool CDravoCapture::Open()
{
    if (!m_stop)
        return false;
    ResetEvent(m_stop);
    return Start();
}

void CDravoCapture::Close()
{
    if (m_stop)
        SetEvent(m_stop);
    Stop();
}

bool CDravoCapture::ReadParams(const DRAVO_CAPTURE_PARAMS* params)
{
    if (!params)
        return false;
    CScopedLock lock(&m_lock);
    m_copy = *params;
    m_restart = true;
    return true;
}

void CDravoCapture::EnableEncode(bool on)
{
    CScopedLock lock(&m_lock);
    if (on && !m_encode)
        m_restart = true;
    m_encode = on;
}

void CDravoCapture::SetOverlay(int flag)
{
    CScopedLock lock(&m_lock);
    m_overlay = flag;
}

bool CDravoCapture::SetSource(int index)
{
    if (index < 0 || index >= SOURCE_COUNT)
        return false;
    CScopedLock lock(&m_lock);
    m_source = index;
    return true;
}

void CDravoCapture::AddPreview(CDravoPreview* preview)
{
    CScopedLock lock(&m_lock);
    m_previews.push_back(preview);
}

void CDravoCapture::RemovePreview(CDravoPreview* preview)
{
    CScopedLock lock(&m_lock);
    m_previews.erase(std::remove(m_previews.begin(), m_previews.end(), preview), m_previews.end());
}

uint32_t CDravoCapture::Run()
{
    for (;;) {
        int fps;
        {
            CScopedLock lock(&m_lock);
            fps = Clamp(m_copy.rateValue, 1, 30);
        }
        const DWORD started = GetTickCount();
        CaptureOne();
        const DWORD spent = GetTickCount() - started;
        const DWORD period = 1000 / fps;
        if (WaitForSingleObject(m_stop, spent < period ? period - spent : 0) != WAIT_TIMEOUT)
            break;
    }
    return 0;
}

void CDravoCapture::CaptureOne()
{
    DRAVO_CAPTURE_PARAMS params;
    bool encode, restart;
    int source;
    {
        CScopedLock lock(&m_lock);
        params = m_copy;
        encode = m_encode;
        restart = m_restart;
        source = m_source;
        if (encode)
            m_restart = false;
    }
    const int width = params.width > 0 ? Clamp(params.width, 16, 1920) & ~1 : 352;
    const int height = params.height > 0 ? Clamp(params.height, 16, 1080) & ~1 : 288;
    CTestPicture::Draw(m_frameNumber++, params.device + source, width, height, m_picture);
    {
        CScopedLock lock(&m_lock);
        for (CDravoPreview* preview : m_previews)
            preview->Show(m_picture.data(), width, height);
    }
    if (!encode || !m_callback)
        return;

    // Aim each frame at the target rate's share, nudging the quality.
    const int fps = Clamp(params.rateValue, 1, 30);
    const int64_t target = params.targetRate > 0 ? params.targetRate : 64000;
    const int64_t budget = std::min<int64_t>(target / 8 / fps, MAX_FRAME);
    int quality = m_quality;
    for (;;) {
        if (!CJpegCodec::Encode(m_picture.data(), width, height, quality, m_encoded))
            return;
        if (static_cast<int64_t>(m_encoded.size()) <= MAX_FRAME || quality <= 5)
            break;
        quality = std::max(5, quality / 2);
    }
    if (static_cast<int64_t>(m_encoded.size()) > MAX_FRAME)
        return;
    const int64_t size = static_cast<int64_t>(m_encoded.size());
    if (size > budget + budget / 10)
        quality -= 3;
    else if (size < budget - budget / 10)
        quality += 1;
    m_quality = Clamp(quality, 5, 90);

    if (m_lockedCallback) {
        CScopedLock lock(&m_lock);
        m_callback(m_context, m_encoded.data(), static_cast<int>(m_encoded.size()),
                   restart ? 1 : 0);
    } else {
        m_callback(m_context, m_encoded.data(), static_cast<int>(m_encoded.size()),
                   restart ? 1 : 0);
    }
}
