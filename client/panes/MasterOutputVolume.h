#pragma once
#include "CMixerVolume.h"

// The speakers destination's volume and mute.
class MasterOutputVolume : public CMixerVolume
{
public:
    explicit MasterOutputVolume(UINT mixerId);
    ~MasterOutputVolume() override;

    bool Enable() override { return SetLineSwitches(true); }
    bool Disable() override { return SetLineSwitches(false); }
    void RegisterNotificationSinks(PFN_VOLUME_SINK volume, PFN_VOLUME_SINK mute, DWORD user);
    bool GetMute() const;
    void SetMute(bool mute);

    static MasterOutputVolume* Instance() { return s_instance; }

protected:
    void OnControlChange(DWORD controlId) override;

private:
    bool SetLineSwitches(bool enable);

    DWORD m_muteId = static_cast<DWORD>(-1);
    PFN_VOLUME_SINK m_muteSink = nullptr;
    static MasterOutputVolume* s_instance;
};
