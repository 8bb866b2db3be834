#include "CCaptureCollector.h"

#include "CAudioCapture.h"

namespace RavoTDevice {

CCaptureCollector::CCaptureCollector(CAudioCapture* owner)
    : CNamedThread("WaveIn Collector"), m_owner(owner)
{}

uint32_t CCaptureCollector::Run()
{
    m_owner->CollectLoop();
    return 0;
}

} // namespace RavoTDevice
