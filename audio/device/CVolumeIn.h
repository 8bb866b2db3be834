#pragma once
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <vector>

#include "IMixerApi.h"

namespace SonvexDevice {

// The volume of the recording source currently selected on a sound card's
// input mixer. Mixer change notifications arrive at a hidden window of its
// own, on the thread that opened it.
class CVolumeIn
{
public:
    // (volume, volume, context)
    typedef void (*VolumeCallback)(DWORD volume, DWORD volume2, void* context);
    // (object, source index, context)
    typedef void (*SourceCallback)(CVolumeIn* object, int index, void* context);

    struct SOURCE_ENTRY
    {
        DWORD lineId;
        DWORD volumeControlId;
        DWORD componentType;
        int valid;
        int available;
        int32_t minimum;
        int32_t maximum;
        int32_t steps;
        char name[64];
    };

    explicit CVolumeIn(IMixerApi& mixer = IMixerApi::System());
    virtual int IsAvailable();
    virtual int GetVolumeSteps();
    virtual int GetMinimalVolume();
    virtual int GetMaximalVolume();
    virtual int GetCurrentVolume();
    virtual void SetCurrentVolume(DWORD value);
    virtual void SetVolumeCallback(VolumeCallback callback, void* context);
    virtual ~CVolumeIn();
    virtual int Open(UINT waveInDevice);
    virtual void Close();
    virtual void SetSourceCallback(SourceCallback callback, void* context);
    virtual void OnControlChange(DWORD controlId);

    CVolumeIn(const CVolumeIn&) = delete;
    CVolumeIn& operator=(const CVolumeIn&) = delete;

    int SelectSource(int index, int forced);
    int SelectSourceByType(DWORD componentType);
    int GetSourceCount() const { return static_cast<int>(m_sources.size()); }
    int GetSourceName(int index, char* buffer, int size) const;
    DWORD GetCurrentSourceType() const;
    int GetCurrentSource() const { return m_current; }
    bool IsOpened() const { return m_opened != 0; }
    HWND GetWindow() const { return m_window; }

private:
    int ReadSelectedItem(); // index into the selector's items, -1 when none
    int SourceForItem(int item);
    bool ReadItemNames(std::vector<MIXERCONTROLDETAILS_LISTTEXTA>& names);

    IMixerApi& m_mixer;
    int m_forced = 0;
    HWND m_window = nullptr;
    UINT m_device = 0;
    HMIXER m_handle = nullptr;
    DWORD m_muxId = static_cast<DWORD>(-1);
    DWORD m_destinationLineId = 0;
    int m_muxItems = -1;
    int m_opened = 0;
    int m_current = -1;
    std::vector<SOURCE_ENTRY> m_sources;
    VolumeCallback m_volumeCallback = nullptr;
    void* m_volumeContext = nullptr;
    SourceCallback m_sourceCallback = nullptr;
    void* m_sourceContext = nullptr;
};

} // namespace SonvexDevice
