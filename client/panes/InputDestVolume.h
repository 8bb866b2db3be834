#pragma once
#include "CMixerVolume.h"

// The volume of the wave-in destination itself: the fallback when the
// microphone line has no volume of its own.
class InputDestVolume : public CMixerVolume
{
public:
    // mixerId is replaced by the mixer of the wave-in mapper.
    explicit InputDestVolume(UINT mixerId);
    ~InputDestVolume() override;

    bool Enable() override;
    bool Disable() override;

    static InputDestVolume* Instance() { return s_instance; }

private:
    DWORD m_destinationIndex = 0;
    static InputDestVolume* s_instance;
};
