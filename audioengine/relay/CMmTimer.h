#pragma once
#include "ITickSource.h"

// The multimedia timer: a periodic timer at the finest resolution the device
// allows (never below 1 ms) that sets the tick event itself.
class CMmTimer : public ITickSource
{
public:
    CMmTimer() = default;
    ~CMmTimer() override { Stop(); }

    bool Start(HANDLE tickEvent, uint32_t periodMs) override;
    void Stop() override;

    static std::unique_ptr<ITickSource> Create();

private:
    UINT m_timer = 0;
    UINT m_resolution = 0;
};
