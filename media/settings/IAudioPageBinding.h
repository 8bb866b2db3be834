#pragma once
#include "afxwin.h"

class CDlgAudioConfig;

// Another audio library behind the audio page. While one is installed
// (CDlgAudioConfig::SetBinding) the page fills its lists and applies its
// values through it instead of the audio manager; the page's own
// initialisation (texts, the delay list) runs first in either case.
class IAudioPageBinding
{
public:
    virtual ~IAudioPageBinding() = default;
    // After the dialog's own initialisation.
    virtual void InitPage(CDlgAudioConfig& page) = 0;
    // The stored settings into the controls, the lists rebuilt.
    virtual void Refresh(CDlgAudioConfig& page) = 0;
    // The controls into the settings and the library; the capture state.
    virtual BOOL Apply(CDlgAudioConfig& page) = 0;
    // The devices started with every stored setting; the capture state.
    virtual BOOL InitAudio(CDlgAudioConfig& page) = 0;
};
