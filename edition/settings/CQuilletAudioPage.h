#pragma once
#include "IAudioPageBinding.h"
#include "RavoTMApi.h"

#include <functional>

class CClientSettings;
class CQuilletAudio;

// The audio page of this edition: the same page as the current edition's,
// whose lists come from RavoTM's name lists and whose values go to RavoTM's
// setters. The hidden noise and gain switches are check boxes here; a box
// that shows what is stored keeps the stored level.
class CQuilletAudioPage : public IAudioPageBinding
{
public:
    // startDevices brings the devices up with every stored setting (once
    // per main window) and gives the capture state.
    CQuilletAudioPage(const RAVOTM_FUNCTIONS& ravotm, CQuilletAudio& audio,
                      CClientSettings& settings, std::function<bool()> startDevices);

    void InitPage(CDlgAudioConfig& page) override;
    void Refresh(CDlgAudioConfig& page) override;
    BOOL Apply(CDlgAudioConfig& page) override;
    BOOL InitAudio(CDlgAudioConfig& page) override;

private:
    typedef int (*PFN_List)(CStringList* names);
    // The names of a list function into a combo box; the entry at *stored
    // is selected, else the first, and *stored follows.
    void FillList(CDlgAudioConfig& page, int id, PFN_List list, DWORD* stored);

    const RAVOTM_FUNCTIONS& m_ravotm;
    CQuilletAudio& m_audio;
    CClientSettings& m_settings;
    std::function<bool()> m_startDevices;
};
