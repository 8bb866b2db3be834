#pragma once
#include "IDirectSoundApi.h"

namespace SonvexDevice {

// IDirectSoundApi on dsound.dll, imported by ordinal.
class WinDirectSoundApi : public IDirectSoundApi
{
public:
    HRESULT EnumerateCapture(LPDSENUMCALLBACKA callback, void* context) override;
    HRESULT EnumeratePlay(LPDSENUMCALLBACKA callback, void* context) override;
    HRESULT OpenCapture(const GUID* device, const WAVEFORMATEX* format, DWORD bufferBytes,
                        IDsCaptureBuffer** buffer) override;
    HRESULT OpenPlay(const GUID* device, HWND window, const WAVEFORMATEX* format, DWORD bufferBytes,
                     DWORD flags, IDsPlayBuffer** buffer) override;
};

} // namespace SonvexDevice
