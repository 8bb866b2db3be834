#include "CFakeEngine.h"

#include <algorithm>
#include <cstdio>

#include "CScopedLock.h"

namespace {

int Name(const std::vector<std::string>& names, int index, char* buffer, int size)
{
    if (index < 0 || index >= static_cast<int>(names.size()) || names[index].empty())
        return 0;
    snprintf(buffer, static_cast<size_t>(size), "%s", names[index].c_str());
    return 1;
}

} // namespace

int CFakeEngine::Log(const char* name)
{
    CScopedLock lock(&m_lock);
    calls.push_back(name);
    return 1;
}

bool CFakeEngine::Called(const std::string& name) const { return Count(name) > 0; }

size_t CFakeEngine::Count(const std::string& name) const
{
    CScopedLock lock(const_cast<CRITICAL_SECTION*>(&m_lock));
    return static_cast<size_t>(std::count(calls.begin(), calls.end(), name));
}

int CFakeEngine::GetEncoderName(int index, char* buffer, int size)
{
    return Name(encoders, index, buffer, size);
}

int CFakeEngine::GetDeviceName(int index, char* buffer, int size)
{
    return Name(devices, index, buffer, size);
}

int CFakeEngine::GetVideoSourceName(DRAVO_HANDLE c, int index, char* buffer, int size)
{
    return c ? Name(sources, index, buffer, size) : 0;
}

DRAVO_HANDLE CFakeEngine::OpenCapture(DRAVO_CAPTURE_PARAMS* p, void* ctx, DravoFrameCallback cb)
{
    Log("OpenCapture");
    if (failOpen)
        return 0;
    CScopedLock lock(&m_lock);
    params = p;
    context = ctx;
    callback = cb;
    applied.push_back(*p);
    capture = 0x100;
    return capture;
}

int CFakeEngine::EnableEncode(DRAVO_HANDLE c, int on)
{
    Log("EnableEncode");
    if (!c)
        return 0;
    encode = on;
    return 1;
}

int CFakeEngine::SetCaptureParams(DRAVO_HANDLE c, DRAVO_CAPTURE_PARAMS* p)
{
    Log("SetCaptureParams");
    CScopedLock lock(&m_lock);
    applied.push_back(*p);
    return c ? 1 : 0;
}

int CFakeEngine::CloseCapture(DRAVO_HANDLE* c)
{
    Log("CloseCapture");
    if (onClose)
        onClose();
    *c = 0;
    capture = 0;
    return 1;
}

int CFakeEngine::SetPreviewRender(DRAVO_HANDLE, DRAVO_HANDLE, int value)
{
    Log("SetPreviewRender");
    previewRender = value;
    return 5;
}

int CFakeEngine::SetPreviewPos(DRAVO_HANDLE, DRAVO_HANDLE, const RECT* rect)
{
    Log("SetPreviewPos");
    if (rect)
        previewRect = *rect;
    return 1;
}

int CFakeEngine::RenderFrame(DRAVO_HANDLE, const uint8_t* frame, int length)
{
    Log("RenderFrame");
    CScopedLock lock(&m_lock);
    rendered.emplace_back(frame, frame + length);
    return 1;
}
