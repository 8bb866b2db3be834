#pragma once
#include "CMixerVolume.h"

// Opens the mixer only, to choose the recording source by name.
class InputAltVolume : public CMixerVolume
{
public:
    explicit InputAltVolume(UINT mixerId);
    ~InputAltVolume() override;

    bool Enable() override { return false; }
    bool Disable() override { return false; }
    // True when a recording source with exactly this name was selected.
    bool SelectRecordSource(const char* name);

    static InputAltVolume* Instance() { return s_instance; }

private:
    static InputAltVolume* s_instance;
};
