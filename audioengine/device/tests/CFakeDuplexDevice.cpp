#include "CFakeDuplexDevice.h"

#include <cstring>

using namespace RavoTDevice;

IDuplexSoundDevice* CFakeDuplexFactory::Create(void* context)
{
    return new CFakeDuplexDevice(static_cast<CFakeDuplexFactory*>(context));
}

bool CFakeDuplexFactory::PulseCapture(int16_t value)
{
    std::lock_guard<std::mutex> l(lock);
    if (!current || !current->inOpen)
        return false;
    current->nextValue = value;
    SetEvent(current->CaptureEvent());
    return true;
}

size_t CFakeDuplexFactory::Written()
{
    std::lock_guard<std::mutex> l(lock);
    return written.size();
}

bool CFakeDuplexFactory::PulsePlay()
{
    size_t before = Written();
    {
        std::lock_guard<std::mutex> l(lock);
        if (!current || !current->outOpen)
            return false;
        SetEvent(current->PlayEvent());
    }
    DWORD start = GetTickCount();
    while (Written() == before) {
        if (GetTickCount() - start > 2000)
            return false;
        Sleep(1);
    }
    return true;
}

CFakeDuplexDevice::CFakeDuplexDevice(CFakeDuplexFactory* factory) : m_factory(factory)
{
    m_captureEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_playEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::lock_guard<std::mutex> l(m_factory->lock);
    ++m_factory->created;
    m_factory->current = this;
}

CFakeDuplexDevice::~CFakeDuplexDevice()
{
    {
        std::lock_guard<std::mutex> l(m_factory->lock);
        ++m_factory->destroyed;
        if (m_factory->current == this)
            m_factory->current = nullptr;
    }
    CloseHandle(m_captureEvent);
    CloseHandle(m_playEvent);
}

int CFakeDuplexDevice::Init(int, HWND, const GUID* render, const GUID* capture)
{
    m_factory->lastRender = *render;
    m_factory->lastCapture = *capture;
    return m_factory->initFails ? 0 : 1;
}

int CFakeDuplexDevice::OpenIn()
{
    std::lock_guard<std::mutex> l(m_factory->lock);
    if (inOpen)
        return 0;
    inOpen = true;
    return 1;
}

void CFakeDuplexDevice::CloseIn()
{
    std::lock_guard<std::mutex> l(m_factory->lock);
    inOpen = false;
    SetEvent(m_captureEvent);
}

int CFakeDuplexDevice::OpenOut()
{
    std::lock_guard<std::mutex> l(m_factory->lock);
    if (outOpen)
        return 0;
    outOpen = true;
    return 1;
}

void CFakeDuplexDevice::CloseOut()
{
    std::lock_guard<std::mutex> l(m_factory->lock);
    outOpen = false;
    SetEvent(m_playEvent);
}

int CFakeDuplexDevice::ReadBlock(uint8_t* buffer, int size)
{
    if (size != m_captureBytes)
        return 0;
    std::lock_guard<std::mutex> l(m_factory->lock);
    for (int i = 0; i < size / 2; ++i)
        memcpy(buffer + 2 * i, &nextValue, 2);
    return 1;
}

int CFakeDuplexDevice::WriteBlock(const uint8_t* buffer, int size)
{
    if (size != m_playBytes)
        return 0;
    std::lock_guard<std::mutex> l(m_factory->lock);
    m_factory->written.emplace_back(buffer, buffer + size);
    return 1;
}

int CFakeDuplexDevice::SetParameter(int enable)
{
    m_effects = m_factory->effects && enable;
    return m_effects ? 1 : 0;
}
