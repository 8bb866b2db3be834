#pragma once
#include <windows.h>

#include <string>

#include "CDeviceLayer.h"

namespace AudioCommon {
class IWaveApi;
}

// The audio device layer under the audio manager: the engine Ravo.dll is
// loaded from the manager's own folder, and the wave path opens the devices
// it is given (the system's, or a test's tone devices).
class CKadrelDevices : public RavoTDevice::CDeviceLayer
{
public:
    CKadrelDevices(const std::string& engineFolder, AudioCommon::IWaveApi* wave);
    ~CKadrelDevices() override;

    // True when the engine codes with this format (its codec opens here).
    bool CanEncode(uint8_t formatIndex);

protected:
    bool EnsureEngine() override;
    RavoTDevice::CAudioManagerBase* NewWaveManager() override;

private:
    std::string m_engineFolder;
    AudioCommon::IWaveApi* m_wave;
};
