#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "FrameCommandServices.h"
#include "ServerWire.h"

class CFrameRecorderLink;
class CKeyNoticeHook;
class CLanguageManager;
class CMainFrame;
class CMenu;
class CUserTable;
class CWnd;
class IFrameCommandTargets;
class IFrameRecorder;
class IFrameSenders;
class IProcessLauncher;
class IRecorder;
struct USER_INFO;

// What the commands reach of the main window's own state.
struct FRAME_COMMAND_CONTEXT
{
    CMainFrame* frame = nullptr;
    LOGIN_INFO* login = nullptr;
    CUserTable* users = nullptr;
    CLanguageManager* language = nullptr;
    IProcessLauncher* launcher = nullptr;
    // The program's folder, with a trailing backslash.
    std::string programFolder;
};

// The main window's commands: the menu and popup commands with their rights,
// the function keys and camera keys, the meeting recording, the exit question
// and the steps of the close sequence that are not the frame's own.
class CMainFrameCommands
{
public:
    CMainFrameCommands(const FRAME_COMMAND_CONTEXT& context,
                       const FRAME_COMMAND_SERVICES& services);
    ~CMainFrameCommands();

    // The key notices of the frame's thread start (once the window exists)
    // and stop.
    void Attach();
    void Detach();

    // True for a command id handled here; OnCommand runs it (false when the
    // id is not one of these).
    bool Handles(UINT id) const;
    bool OnCommand(UINT id);
    // The enabled and check state of the commands whose state lies here.
    bool GetCommandState(UINT id, bool* enabled, bool* checked);
    // The key notice 0x46B: function keys on release, then the camera keys.
    LRESULT OnKeyNotice(WPARAM key, LPARAM flags);
    // Whether an Alt key is down (the camera keys need it); tests set it.
    void SetAltKeyTest(std::function<bool()> test) { m_altHeld = std::move(test); }
    // The windows the commands open; the program puts its own in place once
    // they exist (they must outlive this object).
    IFrameCommandTargets& Targets() { return *m_targets; }
    void SetTargets(IFrameCommandTargets* targets)
    {
        if (targets)
            m_targets = targets;
    }

    // The exit question; OK closes the window.
    void AskExit();
    // The help pages in the browser.
    void OpenHelp();
    static const char* const kHelpAddress;

    // Recording.
    void StartRecording();
    void StopRecording();
    bool IsRecording() const { return m_recording != 0; }
    // The recorder as the dispatcher and the panes write to it.
    IRecorder& Recorder();
    // Tells the recorder which windows a replay shows and the video split:
    // each value when it changed since it was last told, or always (force).
    // Nothing while no recording runs.
    void RecordLayoutState(bool force);
    // The audio manager's record callback: the room's audio into the
    // recording.
    static int OnAudioRecord(void* context, unsigned long extra, unsigned long userId,
                             const void* data, unsigned long length);
    // The whiteboard's records into the running recording.
    void RecordBoardData(const void* data, size_t length);

    // The close sequence's steps: the recording ends before the connection
    // closes; the wall and the transfers after it.
    void BeforeConnectionCloses();
    void AfterConnectionClosed();

    // The whiteboard's capture: a region of the screen into the client's Temp
    // folder, then opened in the whiteboard.
    void CaptureScreenToFile();
    // Opens a file in the whiteboard while the own user holds the meeting
    // control.
    void OpenInWhiteboard(const std::string& path);
    std::string CapturePicturePath() const;

private:
    bool OwnRecord(USER_INFO* own);
    bool IsChair() const;
    uint32_t FileSwitch(size_t offset) const;
    void ToggleSwitch(size_t offset);
    void SetMeetingMode(uint8_t mode);
    void ShowPopup(int popup);
    POINT PopupPoint();
    CWnd* PopupOwner();
    bool OnFunctionKey(UINT key);
    std::string RecordingName() const;

    FRAME_COMMAND_CONTEXT m_ctx;
    std::unique_ptr<IFrameSenders> m_ownSenders;
    std::unique_ptr<IFrameRecorder> m_ownRecorder;
    std::unique_ptr<IFrameCommandTargets> m_ownTargets;
    IFrameSenders* m_senders;
    IFrameRecorder* m_recorder;
    IFrameCommandTargets* m_targets;
    std::unique_ptr<CFrameRecorderLink> m_recorderLink;
    std::unique_ptr<CKeyNoticeHook> m_keyHook;
    std::function<bool()> m_altHeld;

    // Read by the audio manager's thread in the record callback.
    volatile uint32_t m_recording = 0;
    // What the recorder was last told: video, board, chat shown, split count.
    uint8_t m_toldVideo = 0;
    uint8_t m_toldBoard = 0;
    uint8_t m_toldChat = 0;
    uint8_t m_toldSplit = 0;
};
