#pragma once
#include "CLangDialog.h"
#include "CSkinButton.h"
#include "IScreenShare.h"
#include "RCShareBlock.h"

#include <cstdint>
#include <string>

class CAutoDialog;
class CLogFile;
class CUserTable;
class IRCHost;

// What the page needs to know of the meeting when it is made.
struct RC_SETUP
{
    CUserTable* users = nullptr;
    IRCHost* host = nullptr;
    CLogFile* log = nullptr;
    uint32_t ownUserId = 0;
    uint32_t roomId = 0;
    std::string serverAddress;
    uint16_t applicationPort = 0;
    // Folder of the sharing program, with a trailing backslash.
    std::string programFolder;
};

// The screen-broadcast page: keeps the mode of this computer (idle,
// broadcasting, watching, controlled, controlling), exchanges the broadcast
// and remote-control commands with the server, drives the sharing program
// through the shared block and hosts its view window.
class CRCManager : public CLangDialog, public IScreenShare
{
public:
    enum : UINT { IDD = 434 };
    enum : uint32_t {
        MODE_IDLE = 0,
        MODE_BROADCASTING = 1,
        MODE_WATCHING = 2,
        MODE_CONTROLLED = 3,
        MODE_CONTROLLING = 4
    };
    enum : UINT { TIMER_LAYOUT = 100, BAND_HEIGHT = 25 };

    explicit CRCManager(const RC_SETUP& setup);
    ~CRCManager() override;

    BOOL CreatePage(CWnd* parent);

    // IScreenShare (the dispatcher and the participants list).
    void StartReceiving(uint32_t userId) override;
    void EndReceiving() override;
    void EndControlled() override;
    void OnControlRequest(uint32_t askerId, uint8_t request) override;
    void OnControlReply(uint32_t userId, uint8_t answer) override;
    void OnScreenControlGrant(uint8_t granted) override;
    bool IsBroadcasting() override { return m_mode == MODE_BROADCASTING; }
    void EndBroadcast() override;
    bool IsControlling() override { return m_mode == MODE_CONTROLLING; }
    uint32_t GetControlledPeer() override { return m_controlledPeer; }
    void EndControlling() override;

    bool IsReceiving() const { return m_mode == MODE_WATCHING; }
    bool IsControlled() const { return m_mode == MODE_CONTROLLED; }
    uint32_t GetMode() const { return m_mode; }
    uint32_t GetAsker() const { return m_asker; }
    double GetZoom() const { return m_zoom; }
    bool GetFit() const { return m_fit; }
    const std::string& GetBlockName() const { return m_blockName; }
    CRCShareBlock& Block() { return m_block; }
    // The question to the user while it is open (null otherwise).
    CAutoDialog* GetQuestion() const { return m_question; }

    // Behind "桌面广播" and "停止广播".
    void OnBroadcastButton();
    void StartBroadcast();
    // Takes the options the user chose ("设置" in mode 1 does this after its
    // dialog): fit, 8-bit compression and the window to share.
    void ApplyOptions(bool fit, bool compress8, HWND shared);

    // The view buttons.
    void OnFit();
    void OnOriginalSize();
    void OnZoomIn();
    void OnZoomOut();

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnTimer(UINT id);
    afx_msg void OnOptions();
    afx_msg void OnSettings();
    afx_msg LRESULT OnNotify(WPARAM, LPARAM);
    afx_msg LRESULT OnQuestionAnswer(WPARAM answer, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void OpenBlock();
    void CloseBlock();
    void PostCommand(uint32_t command);
    void OnStatus(uint32_t status);
    void UpdateButtons();
    void LayoutView();
    void SetViewFields();
    void ApplyZoom();
    void EndQuestion();
    std::string UserName(uint32_t userId);
    void Log(const char* text);

    CSkinButton m_buttons[8];
    CButton m_saveBandwidth;
    uint32_t m_asker = 0;
    uint32_t m_controlledPeer = 0;
    bool m_fit = true;
    CRCShareBlock m_block;
    HANDLE m_mapping = NULL;
    std::string m_blockName;
    uint32_t m_mode = MODE_IDLE;
    double m_zoom = 1.0;

    RC_SETUP m_setup;
    CAutoDialog* m_question = nullptr;
};
