#pragma once
#include "afxwin.h"
#include "afxcmn.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "CPlayAudioOutput.h"
#include "IPlayerSink.h"
#include "PlayerLayout.h"

class CPlayChatView;
class CPlayerTabCtrl;
class CPlayerVideoWall;
class CShareView;
namespace caskel {
class CWBFrame;
class IBoardBackgrounds;
} // namespace caskel

#define WM_PLAYER_LAYOUT (WM_USER + 101)

// The windows a recording plays in, all children of the caller's window:
// the tab strip with the whiteboard and the two share views, the user list,
// the video wall and the chat pane, laid out in a rectangle the caller sets,
// and the audio output. The frame window itself stays hidden; it only takes
// the relayout message. The record handlers run on the play thread.
class CPlayerFrame : public CWnd, public IPlayerSink
{
public:
    enum {
        ID_FRAME = 10011,
        ID_TAB_STRIP = 154,
        ID_PRESENTATION = 254,
        ID_BROWSING = 255,
        ID_USER_LIST = 1234,
        ID_VIDEO_WALL = 10010,
        ID_CHAT = 10002,
    };

    explicit CPlayerFrame(const PlayAudioApi* audioApi = nullptr);
    ~CPlayerFrame() override;

    int Build(HWND owner) override;
    void DestroyChildren() override;
    int SetLayoutRect(int left, int top, int right, int bottom) override;
    void Clear() override;
    void SetPlaybackTap(bool on) override;
    int OnAudioRecord(const unsigned char* record, uint32_t length) override;
    int OnVideoRecord(const unsigned char* record, uint32_t length) override;
    int OnBoardRecord(const unsigned char* record, uint32_t length) override;
    int OnCommandRecord(const unsigned char* record, uint32_t length) override;
    int OnChatRecord(const unsigned char* record, uint32_t length) override;

    // Lays the children out now (the relayout message does the same).
    void LayOut();
    PlayerFrameFlags GetFlags() const;

    CPlayerVideoWall* GetVideoWall() const { return m_videoWall; }
    CListBox* GetUserList() const { return m_userList; }
    CPlayChatView* GetChatPane() const { return m_chat; }
    CPlayerTabCtrl* GetTabStrip() const { return m_tabs; }
    caskel::CWBFrame* GetBoard() const { return m_board; }
    // Where the whiteboard's page backgrounds come from (the recording).
    void SetBoardBackgrounds(caskel::IBoardBackgrounds* backgrounds);
    CShareView* GetPresentationView() const { return m_presentation; }
    CShareView* GetBrowsingView() const { return m_browsing; }
    CPlayAudioOutput* GetAudioOutput() const { return m_audio; }

protected:
    afx_msg LRESULT OnLayoutMessage(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void PostLayout();

    std::atomic<uint32_t> m_showVideo{0};
    std::atomic<uint32_t> m_showBoard{0};
    std::atomic<uint32_t> m_showChat{0};
    std::atomic<uint32_t> m_fullVideo{0};
    caskel::CWBFrame* m_board = nullptr; // owned by its window
    caskel::IBoardBackgrounds* m_backgrounds = nullptr;
    CPlayAudioOutput* m_audio = nullptr;
    const PlayAudioApi* m_audioApi;
    HWND m_owner = nullptr;
    CPlayChatView* m_chat = nullptr;
    RECT m_layout = {0, 0, 0, 0};
    CRITICAL_SECTION m_layoutLock;
    CPlayerVideoWall* m_videoWall = nullptr;
    CListBox* m_userList = nullptr;
    CShareView* m_presentation = nullptr; // owned by its window
    CShareView* m_browsing = nullptr;     // owned by its window
    CPlayerTabCtrl* m_tabs = nullptr;
};
