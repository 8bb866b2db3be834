#pragma once
#include "CDlgRight.h"
#include "IFrameVideoWall.h"
#include "IVideoWall.h"

// The video wall as the main window and the dispatcher see it: one wall
// window (CDlgRight) behind the main window's layout calls and the
// dispatcher's video calls. The main window owns it; the wall's window is
// a child of the main window.
class CVideoWallPane : public IFrameVideoWall, public IVideoWall
{
public:
    // Creates the wall as a child of parent; false when it cannot.
    bool Create(CWnd* parent);
    CDlgRight& Wall() { return m_wall; }

    // IFrameVideoWall.
    CWnd* Window() override { return &m_wall; }
    void SetSplitCount(uint8_t count) override;
    void SetMainVideo(uint32_t userId) override;
    uint32_t GetMainVideoUser() override;
    void SetFullVideo(uint32_t userId, bool on) override;
    uint32_t GetFullScreenUser() override;

    // IVideoWall.
    void RemoveUserWindow(uint32_t userId) override;
    int AddUserVideo(const char* userName, uint32_t userId) override;
    void SetUserVideoTarget(uint32_t userId, uint16_t serverPort) override;
    void DropNonBroadcastVideos() override;

private:
    CDlgRight m_wall;
};
