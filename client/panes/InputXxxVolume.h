#pragma once
#include "CMixerVolume.h"

// The volume of one source line of the wave-in destination, normally the
// microphone.
class InputXxxVolume : public CMixerVolume
{
public:
    typedef bool (*PFN_LINE_SINK)(UINT sourceIndex, const MIXERLINEA* line, void* user);

    InputXxxVolume(UINT mixerId, UINT sourceIndex);
    ~InputXxxVolume() override;

    bool Enable() override;
    bool Disable() override;
    const std::string& GetLineName() const { return m_lineName; }

    // Calls sink for each source line of the wave-in destination, in index
    // order, until it returns false; true when the walk ended normally or
    // the sink stopped it.
    static bool EnumerateLines(PFN_LINE_SINK sink, UINT mixerId, void* user);
    // Enables the boolean controls of the wave-in destination (the item at
    // index for multiple-item controls); shared with the other input classes.
    static bool EnableInputLine(CMixerVolume& log, HMIXER mixer, DWORD index, DWORD channels);

    static InputXxxVolume* Instance() { return s_instance; }

private:
    UINT m_sourceIndex;
    int m_micIndex = -1;
    std::string m_lineName;
    static InputXxxVolume* s_instance;
};
