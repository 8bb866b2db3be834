#pragma once
#include "CNamedThread.h"

namespace RavoTDevice {

class CAudioCapture;

// The thread that serves a waveIn device for CAudioCapture: it takes every
// block the driver returns into the capture's pool and gives the driver its
// buffer back, so that a slow consumer never starves the driver and no wave
// function is called from the driver's callback.
class CCaptureCollector : public CNamedThread
{
public:
    explicit CCaptureCollector(CAudioCapture* owner);
    uint32_t Run() override;

private:
    CAudioCapture* m_owner;
};

} // namespace RavoTDevice
