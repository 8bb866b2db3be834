#pragma once
#include <windows.h>
#include <dsound.h>

#include "CDirectSoundLib.h"
#include "DsCaptureFx.h"
#include "IDuplexSoundDevice.h"

namespace RavoTDevice {

// The DirectSound full-duplex device: one capture buffer carrying the
// system's echo cancelling and noise suppression effects and one play
// buffer, both looping, with a notification at the end of every block. When
// the effects cannot be had it falls back to plain playback and capture
// objects.
class TCaptureEffect : public IDuplexSoundDevice
{
public:
    explicit TCaptureEffect(const CDirectSoundLib* ds);
    ~TCaptureEffect() override;

    TCaptureEffect(const TCaptureEffect&) = delete;
    TCaptureEffect& operator=(const TCaptureEffect&) = delete;

    void SetCaptureFormat(const WAVEFORMATEX* format) override;
    void SetPlayFormat(const WAVEFORMATEX* format) override;
    void SetCaptureBlocks(int bytes, int count) override;
    void SetPlayBlocks(int bytes, int count) override;
    int Init(int withEffects, HWND window, const GUID* render, const GUID* capture) override;
    int InitNoAEC(HWND window, const GUID* render, const GUID* capture);
    int OpenIn() override;
    void CloseIn() override;
    int OpenOut() override;
    void CloseOut() override;
    int ReadBlock(uint8_t* buffer, int size) override;
    int WriteBlock(const uint8_t* buffer, int size) override;
    int SetParameter(int enable) override;
    void Close() override;
    HANDLE CaptureEvent() const override { return m_captureEvent; }
    HANDLE PlayEvent() const override { return m_playEvent; }
    bool HasEchoEffect() const override { return m_echoEffect; }

    bool IsFullDuplex() const { return m_duplex != nullptr; }

private:
    int OpenBuffer(bool capture);

    const CDirectSoundLib* m_ds;
    HANDLE m_captureEvent;
    HANDLE m_playEvent;
    IDirectSoundFullDuplex* m_duplex = nullptr;
    IDirectSoundCaptureBuffer8* m_capture = nullptr;
    IDirectSoundBuffer8* m_play = nullptr;
    IDirectSound8* m_sound = nullptr;
    IDirectSoundCapture* m_captureObject = nullptr;
    WAVEFORMATEX m_captureFormat;
    WAVEFORMATEX m_playFormat;
    int m_captureBlockBytes = 480, m_captureBlocks = 8;
    int m_playBlockBytes = 480, m_playBlocks = 8;
    DSCEFFECTDESC m_effects[2];
    HRESULT m_lastResult = S_OK;
    DSCFXAec m_echoParams;
    DSCFXNoiseSuppress m_noiseParams;
    volatile LONG m_captureOpen = 0;
    volatile LONG m_playOpen = 0;
    bool m_echoEffect = false;
};

} // namespace RavoTDevice
