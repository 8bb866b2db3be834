#pragma once
#include "CCaptureHotkey.h"
#include "CMainFrame.h"

#include <functional>
#include <string>

class CQuilletAudio;

// The earlier edition's main window: the shared main window without the
// language choice and the two twenty-five-window layouts, whose start step
// also brings the audio devices up with every stored setting.
class CQuilletFrame : public CMainFrame
{
public:
    // The services as for the shared window (tests give their own); audio
    // may be null (no devices are started).
    CQuilletFrame(CQuilletAudio* audio, const MAINFRAME_SERVICES& services = MAINFRAME_SERVICES());

    static MAINFRAME_SERVICES EditionServices(MAINFRAME_SERVICES services);
    bool DevicesStarted() const { return m_devicesStarted; }
    // The audio devices up with every stored setting, once per window (the
    // first start step or the settings dialog, whichever comes first); the
    // capture state.
    bool StartDevices();

    // The whiteboard's screen-capture button: F9 captures the screen once.
    void ArmCapture();
    // Where a captured picture goes (the whiteboard opens it as a document);
    // the folder pictures are saved in ("ShareAll\\" of the program folder
    // by default).
    void SetPictureTarget(std::function<void(const std::string&)> target)
    {
        m_pictureTarget = std::move(target);
    }
    void SetCaptureFolder(const std::string& folder) { m_captureFolder = folder; }
    CCaptureHotkey& Hotkey() { return m_hotkey; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    CQuilletAudio* m_audio;
    bool m_devicesStarted = false;
    bool m_capturing = false;
    CCaptureHotkey m_hotkey;
    std::function<void(const std::string&)> m_pictureTarget;
    std::string m_captureFolder;
};
