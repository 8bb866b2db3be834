#pragma once
#include "CDlgRemoteVideo.h"
#include "CLangDialog.h"
#include "CPtrArray.h"
#include "CSkinBitmap.h"
#include "CToolTipCtrl.h"
#include "afxwin.h"

#include <ctime>
#include <functional>
#include <string>

// The video wall, the right pane of the main window: 25 video windows of
// which the shown participants' windows (the active array, index 0 first)
// are laid out as a strip, a square grid, the layouts of 8 and 13, or one
// window over the whole pane. Every change reaches the meeting recorder
// while a recording runs. UI thread only; the wall lock keeps the active
// array consistent for the queries of other panes.
class CDlgRight : public CLangDialog
{
public:
    enum { WINDOW_COUNT = 25, POLL_TIMER = 100 };

    // The states of the popup menu's items for the selected user.
    struct MenuStates
    {
        bool fullScreenEnabled;
        bool fullScreenChecked;
        bool closeGrayed;
        bool cameraGrayed;
    };

    CDlgRight(CWnd* parent = nullptr);
    ~CDlgRight() override;

    BOOL Create(CWnd* parent);

    int AddUserVideo(const char* userName, uint32_t user);
    void RemoveUser(uint32_t user);
    void RemoveUserWindow(uint32_t user) { RemoveUser(user); }
    void RemoveUserVideo();
    // Drops every window whose user does not broadcast (or has left).
    void DropNonBroadcastVideos();
    void SetMainVideo(uint32_t user);
    void SetSplitCount(int count);
    int GetSplitCount() const { return m_nSplit; }
    int SetFullVideo(uint32_t user, BOOL on);
    void SetUserVideoTarget(uint32_t user, int port);

    int GetVideoCount();
    int GetWindowCount() { return GetVideoCount(); }
    CDlgRemoteVideo* FindUserWindow(uint32_t user);
    long GetFirstVideoUserId();
    long GetMainVideoUser() { return GetFirstVideoUserId(); }
    long GetBigVideoUserId();
    long GetFullVideoUser() { return GetBigVideoUserId(); }
    uint32_t UserAtPoint(int x, int y);
    bool HasUser(uint32_t user);
    int SumWindowCounters();
    // The user id shown at position index of the active array (0 past its end).
    uint32_t GetActiveUser(int index);

    void ClearVideos();
    void RecordVideos(BOOL on);
    void TogglePolling();
    BOOL IsPolling() const { return m_bPolling; }
    void StopCamera();
    void ShowCameraPanel(int command, int unused = 0);
    void SendCameraCommand(int command);

    // The popup menu at a point of the screen; nothing outside a window.
    void PopupVideoMenu(CPoint screenPoint);
    MenuStates GetMenuStates(uint32_t user);
    // Applies the states to the popup (the first sub-menu of menu 433).
    void ApplyMenuStates(CMenu* popup, uint32_t user);
    void SetSelectedUser(uint32_t user) { m_selectedUser = user; }
    uint32_t GetSelectedUser() const { return m_selectedUser; }

    // One tick of the poll timer.
    void PollTick();

    // Command 33024 asks the window's participant for his settings, also on
    // the own window (off: the own window opens the local settings).
    static void SetDeviceCommandAsksParticipant(bool on);
    // The grab picture's path: folder (one trailing "\\") + user name +
    // "_%d" from the second try on + the time "(%Y-%m-%d %H：%M)" + ".bmp";
    // empty when counters up to 9999 all exist.
    static std::string MakePictureName(const std::string& folder, const char* userName,
                                       const struct tm& time,
                                       const std::function<bool(const std::string&)>& exists);
    // Grabs the selected user's picture; the path written, empty when none.
    std::string GrabPicture();

    CDlgRemoteVideo* GetVideoWindow(int index) { return &m_videos[index]; }
    CDlgRemoteVideo* GetFullWindow() const { return m_pFull; }
    void Relayout();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    BOOL PreTranslateMessage(MSG* msg) override;
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnTimer(UINT id);
    afx_msg void OnContextMenu(CWnd* wnd, CPoint point);
    afx_msg void OnLButtonDblClk(UINT flags, CPoint point);
    afx_msg void OnCloseUserVideo();
    afx_msg void OnCamera();
    afx_msg void OnFirstWindow();
    afx_msg void OnPolling();
    afx_msg void OnGrab();
    afx_msg void OnDevice();
    afx_msg void OnDeviceCommand();
    afx_msg void OnBigScreen();
    afx_msg void OnFullScreen();
    afx_msg void OnLocalProperties();
    DECLARE_MESSAGE_MAP()

private:
    int FindActive(uint32_t user);
    // Marks the window as the one over the whole pane, without a relayout;
    // the recorder hears of it only when it changes.
    void MarkFull(CDlgRemoteVideo* window);
    bool Recording();

    CDlgRemoteVideo m_videos[WINDOW_COUNT];
    CPtrArray m_active;
    CRITICAL_SECTION m_wallLock;
    CRITICAL_SECTION m_freeLock;
    int m_nSplit = -1;
    CDlgRemoteVideo* m_pFull = nullptr;
    uint32_t m_selectedUser = 0;
    BOOL m_bPolling = FALSE;
    int m_nPollCounter = 0;
    CToolTipCtrl m_tip;
    HBITMAP m_hBackground = nullptr;
    CSkinBitmap m_caption1;
    CSkinBitmap m_caption2;
    uint32_t m_cameraUser = 0;
    bool m_bCreated = false;
};
