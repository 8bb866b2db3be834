#pragma once
#include <mutex>
#include <vector>

#include "IDuplexSoundDevice.h"

using namespace RavoTDevice;

class CFakeDuplexDevice;

// Makes fake full-duplex devices for a DirectSound manager and keeps what
// they saw. Pass Create as the factory and the object as its context.
struct CFakeDuplexFactory
{
    static IDuplexSoundDevice* Create(void* context);

    // Settings of the devices made from now on.
    bool initFails = false;
    bool effects = true;
    // Records.
    int created = 0;
    int destroyed = 0;
    GUID lastRender{}, lastCapture{};
    WAVEFORMATEX lastCaptureFormat{};
    int lastCaptureBlockBytes = 0;
    std::mutex lock;
    std::vector<std::vector<uint8_t>> written;
    CFakeDuplexDevice* current = nullptr;

    // Signals one captured block (filled with value) on the current device.
    bool PulseCapture(int16_t value);
    // Signals one play position on the current device; waits (bounded) until
    // the block is written.
    bool PulsePlay();
    size_t Written();
};

class CFakeDuplexDevice : public IDuplexSoundDevice
{
public:
    explicit CFakeDuplexDevice(CFakeDuplexFactory* factory);
    ~CFakeDuplexDevice() override;

    void SetCaptureFormat(const WAVEFORMATEX* format) override
    {
        m_factory->lastCaptureFormat = *format;
    }
    void SetPlayFormat(const WAVEFORMATEX*) override {}
    void SetCaptureBlocks(int bytes, int) override
    {
        m_captureBytes = m_factory->lastCaptureBlockBytes = bytes;
    }
    void SetPlayBlocks(int bytes, int) override { m_playBytes = bytes; }
    int Init(int withEffects, HWND window, const GUID* render, const GUID* capture) override;
    int OpenIn() override;
    void CloseIn() override;
    int OpenOut() override;
    void CloseOut() override;
    int ReadBlock(uint8_t* buffer, int size) override;
    int WriteBlock(const uint8_t* buffer, int size) override;
    int SetParameter(int enable) override;
    void Close() override {}
    HANDLE CaptureEvent() const override { return m_captureEvent; }
    HANDLE PlayEvent() const override { return m_playEvent; }
    bool HasEchoEffect() const override { return m_effects; }

    int16_t nextValue = 0;
    bool inOpen = false, outOpen = false;

private:
    CFakeDuplexFactory* m_factory;
    HANDLE m_captureEvent, m_playEvent;
    int m_captureBytes = 0, m_playBytes = 0;
    bool m_effects = false;
};
