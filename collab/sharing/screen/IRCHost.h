#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

// What the screen broadcast and remote control need of the rest of the
// client: the command connection, message boxes, the main window's pages and
// the participants pane's broadcast flag, and the start of the sharing
// program. Called on the UI thread only.
class IRCHost
{
public:
    virtual ~IRCHost() = default;

    // 2076: the own screen broadcast started (1) or stopped (0).
    virtual bool SendBroadcastState(uint8_t on) = 0;
    // 2078: to the computer this one controls.
    virtual bool SendControlRequest(uint32_t userId, uint8_t value) = 0;
    // 2080: the answer to the participant who asked to control this one.
    virtual bool SendControlAnswer(uint32_t userId, uint8_t value) = 0;

    // An information box, and a plain one (the role hint).
    virtual void ShowInformation(const char* text) = 0;
    virtual void ShowPlain(const char* text) = 0;

    virtual bool HasControlRight() = 0;
    // The main window: its handle, the screen-broadcast tab page with the
    // data window shown, and a repaint of its tab area.
    virtual HWND GetMainWindow() = 0;
    virtual void ShowScreenPage() = 0;
    virtual void RepaintTabArea() = 0;
    // Opens the screen-broadcast settings (the main window's command).
    virtual void OpenScreenSettings() = 0;

    // The participants pane's flag of a running broadcast of this computer.
    virtual bool GetBroadcastFlag() = 0;
    virtual void SetBroadcastFlag(bool on) = 0;

    // Runs a command line hidden; the result as WinExec gives it (31 and
    // below: failure).
    virtual unsigned RunHidden(const std::string& commandLine) = 0;
};
