#pragma once
#include "CDlgArrowBar.h"
#include "CDlgBigVideo.h"
#include "CDlgRestoreBar.h"
#include "CDlgSplitter.h"
#include "CMainFrameBase.h"
#include "CMainFrameTab.h"
#include "CMenuBar.h"
#include "FrameCommandServices.h"
#include "IFrameHost.h"
#include "IFramePanes.h"
#include "IFrameWhiteboard.h"
#include "IMainWindow.h"
#include "ServerWire.h"
#include "WindowLayout.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainFrame;
class CUserTable;
class CLanguageManager;
class CMainFrameCommands;
class CServerDispatcher;
class ICommandLink;
class IFrameLink;
class IFrameMedia;
class IFrameVideoWall;
class IProcessLauncher;

// What the main window works with; each null member takes the program's own
// (the command manager, the bound media functions, stand-in panes, the
// process launcher, Sleep, the login record, the participant table and the
// language manager). Tests give their own.
struct MAINFRAME_SERVICES
{
    IFrameLink* link = nullptr;
    IFrameMedia* media = nullptr;
    IFramePanes* panes = nullptr;
    IProcessLauncher* launcher = nullptr;
    std::function<void(DWORD)> sleep;
    LOGIN_INFO* login = nullptr;
    CUserTable* users = nullptr;
    CLanguageManager* language = nullptr;
    // The program path the restart starts; empty: the running program's.
    std::string programPath;
    // The menu commands' senders, recorder and the windows they open.
    FRAME_COMMAND_SERVICES commands;
    // The earlier edition's menu: no language choice, and these commands
    // left out.
    bool languageMenu = true;
    std::vector<UINT> removedCommands;
    // Makes the panes for the window being built; the window owns them
    // (used in place of panes when given).
    std::function<IFramePanes*(CMainFrame*)> makePanes;
};

// The client's main window: a skinned frame that holds every pane of the
// meeting, drives the connection from the UI thread with three timers
// (start-up step, received-message drain, keep-alive), lays the panes out by
// the window layout that the controlling participant may impose on all
// others, keeps the meeting-state record and builds the title. When the
// connection breaks it offers to start the client again.
class CMainFrame : public CMainFrameBase, public IFrameHost, public IMainWindow
{
public:
    enum : UINT_PTR { TIMER_START = 1000, TIMER_DRAIN = 1500, TIMER_KEEP_ALIVE = 2000 };
    enum {
        LEFT_PANE_WIDTH = 200,
        VIDEO_COLUMN_WIDTH = 170,
        GAP = 5,
        MIN_TRACK_WIDTH = 640,
        MIN_TRACK_HEIGHT = 480,
        TAB_WIDTH = 67,
        TAB_HEIGHT = 27,
        RESTART_DELAY_MS = 5000,
        // The split of one large video among up to six small ones.
        BIG_VIDEO_SPLIT = 262,
    };
    enum { POPUP_COUNT = 7 };
    // The popups, in the order of their language sections.
    enum POPUP {
        POPUP_DATA_WINDOW,
        POPUP_FILE,
        POPUP_MEETING_MODE,
        POPUP_REQUEST,
        POPUP_SPLIT,
        POPUP_RECEIVED_FILES,
        POPUP_WINDOW_MODE
    };
    static const char* const kProductCaption;

    explicit CMainFrame(const MAINFRAME_SERVICES& services = MAINFRAME_SERVICES());
    ~CMainFrame() override;

    // Received server messages go to the dispatcher on the UI thread (or, when
    // one is set, to handler instead).
    void SetMessageHandler(std::function<void(const unsigned char*, size_t)> handler);
    void DispatchServerMessage(const unsigned char* data, size_t length);
    // The dispatcher; the parts of the main window give it their targets.
    CServerDispatcher& Dispatcher() { return *m_dispatcher; }

    // The chat pane's system lines.
    void AddSystemNotice(const char* text) override;

    // Layout.
    void RecalcPanes(BOOL noSend);
    void ApplyWindowLayout(const void* record, size_t length) override;
    void SendWindowLayout() override;
    void TakeLayoutControl() override;
    void DropLayoutControl() override;
    bool HoldsLayoutControl() const { return m_layoutControl; }
    const WINDOW_LAYOUT& GetLayout() const { return m_layout; }
    const WINDOW_LAYOUT& GetSavedLayout() const { return m_savedLayout; }
    void EnterFullScreen();
    void LeaveFullScreen() override;
    void ShowUserFullScreen(uint32_t userId, bool on);
    void SetSplitMode(uint8_t count);
    // The video wall's layout operations: one user's video large, or first.
    void SetBigVideoUser(uint32_t userId);
    void SetFirstVideoUser(uint32_t userId);
    // Back to the data window from any video or full-screen layout.
    void ShowDataWindow();
    // A layout code 0 to 17 of the arrow bar and the layout buttons.
    void ApplyLayoutCode(unsigned code);

    // IFrameHost.
    uint8_t GetDisplayMode() const override { return m_layout.displayMode; }
    bool HasLayoutRight() const override;
    void SetChatPaneShown(bool shown) override;
    bool IsChatPaneShown() const { return m_chatShown; }

    // Title.
    void SetMeetingModeText(uint8_t mode) override;
    void SetParticipantCount(int count) override;
    void SetConferenceName(const char* name);
    void UpdateTitle();
    void BuildTitle() override;
    const std::string& GetTitleText() const { return m_titleText; }

    // The meeting-state record (1392 bytes).
    unsigned char* MeetingState() { return m_meetingState; }
    // The meeting-locked flag (the received byte of command 2054).
    uint32_t* MeetingLockedFlag() { return &m_meetingLocked; }
    // Replaces the held record by a received one; a record of another size
    // is dropped. The title follows the bulletin.
    void ReplaceMeetingState(const void* record, size_t length) override;
    std::string GetBulletin() const;

    // The arrow bar's buttons follow the right to change the layout.
    void EnableArrowBar(bool enable) override;
    // Information box; OK/Cancel question; WM_CLOSE posted.
    void ShowMessage(const char* text) override;
    int AskQuestion(const char* text) override;
    void PostClose() override;

    // The popups of the function keys, made ready for showing (items enabled
    // and checked as the meeting stands). Null for a popup not loaded.
    CMenu* PreparePopup(POPUP popup);
    CMenu* GetPopup(POPUP popup)
    {
        return m_popups[popup].GetSafeHmenu() ? m_popups[popup].GetSubMenu(0) : nullptr;
    }
    // Enabled and check state of a menu command as the update pass gives it.
    bool GetCommandState(UINT id, bool* enabled, bool* checked);

    void OnConnectionLost();
    // The whiteboard's send callback: the board's records go out as 2081.
    static void OnWhiteboardSend(const void* data, size_t length, void* context);
    // The maker of the whiteboard page; without one the pane factory's page stays.
    static void SetWhiteboardFactory(FRAME_WHITEBOARD_FACTORY factory);
    IFrameWhiteboard* Whiteboard() const { return m_whiteboard; }

    // Commands, function keys and recording (CMainFrameCommands).
    CMainFrameCommands& Commands() { return *m_commands; }
    void AskExit();
    void StartRecording();
    void StopRecording();
    bool IsRecording() const;
    void CaptureScreenToFile();
    void OpenInWhiteboard(const char* path);
    // The caption's close button asks before leaving; its maximise button
    // opens the help pages.
    void OnCloseButton() override;
    void OnMaxRestore() override;

    // Language texts applied (TRUE) or written out to the language file (FALSE).
    virtual void ApplyLanguageTexts(BOOL apply);

    // Parts, for the code that wires the panes and for tests.
    CMenuBar& MenuBar() { return m_menuBar; }
    CMainFrameTab& TabStrip() { return m_tab; }
    CDlgSplitter& Splitter() { return m_splitter; }
    CDlgArrowBar& ArrowBar() { return m_arrowBar; }
    CDlgRestoreBar& RestoreBar() { return m_restoreBar; }
    CDlgBigVideo& BigVideo() { return m_bigVideo; }
    CWnd* GetPane(FRAME_PANE pane) { return m_paneWnds[pane]; }
    IFrameVideoWall* VideoWall() { return m_wall.get(); }
    // The client rectangle the panes share (below the menu bar).
    CRect GetPaneArea();

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg LRESULT OnAutoDialogResult(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnKeyNotice(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSplitterMoved(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLayoutCode(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);
    afx_msg void OnTabFullScreen();
    afx_msg void OnTabRestore();
    DECLARE_MESSAGE_MAP()

private:
    void AddLanguageMenu();
    bool CreatePane(FRAME_PANE pane, CWnd* parent);
    void DrainQueue();
    void OnStartStep();
    void GrowOverScreen();
    void RestoreMaximised();
    void ApplyLayout(const WINDOW_LAYOUT& next);
    std::string LoadText(UINT id, const char* fallback) const;

    // Services.
    std::unique_ptr<IFrameLink> m_ownLink;
    std::unique_ptr<IFrameMedia> m_ownMedia;
    std::unique_ptr<IFramePanes> m_ownPanes;
    std::unique_ptr<IProcessLauncher> m_ownLauncher;
    IFrameLink* m_link;
    IFrameMedia* m_media;
    IFramePanes* m_panes;
    IProcessLauncher* m_launcher;
    std::function<void(DWORD)> m_sleep;
    LOGIN_INFO* m_login;
    CUserTable* m_users;
    CLanguageManager* m_lang;
    std::string m_programPath;
    bool m_languageMenuWanted = true;
    std::vector<UINT> m_removedCommands;
    std::function<void(const unsigned char*, size_t)> m_handler;
    std::unique_ptr<CMainFrameCommands> m_commands;
    std::unique_ptr<ICommandLink> m_commandLink;
    std::unique_ptr<CServerDispatcher> m_dispatcher;
    IFrameWhiteboard* m_whiteboard = nullptr; // lives as long as its page window

    // Windows.
    CMenuBar m_menuBar;
    CMainFrameTab m_tab;
    CDlgSplitter m_splitter;
    CDlgArrowBar m_arrowBar;
    CDlgRestoreBar m_restoreBar;
    CDlgBigVideo m_bigVideo;
    CWnd* m_paneWnds[PANE_COUNT] = {};
    bool m_paneOwned[PANE_COUNT] = {};
    std::unique_ptr<IFrameVideoWall> m_wall;
    CMenu m_popups[POPUP_COUNT];
    CMenu m_languageMenu;

    // State.
    WINDOW_LAYOUT m_layout;
    WINDOW_LAYOUT m_savedLayout;
    bool m_layoutControl = false;
    bool m_chatShown = true;
    bool m_inRecalc = false;
    unsigned char m_meetingState[MEETING_STATE_SIZE] = {};
    uint32_t m_meetingLocked = 0;
    std::string m_confName;
    std::string m_countText;
    std::string m_modeText;
    std::string m_titleText;
};
