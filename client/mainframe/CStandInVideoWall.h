#pragma once
#include "CStandInPane.h"
#include "IFrameVideoWall.h"
#include "WindowLayout.h"

// The video wall's place until the wall itself is built: it keeps what the
// main window tells it.
class CStandInVideoWall : public CStandInPane, public IFrameVideoWall
{
public:
    CWnd* Window() override { return this; }
    void SetSplitCount(uint8_t count) override { m_split = count; }
    void SetMainVideo(uint32_t userId) override { m_mainUser = userId; }
    uint32_t GetMainVideoUser() override { return m_mainUser; }
    void SetFullVideo(uint32_t userId, bool on) override
    {
        m_fullUser = on ? userId : LAYOUT_NO_USER;
    }
    uint32_t GetFullScreenUser() override { return m_fullUser; }
    int GetWindowCount() override { return m_windows; }
    void SetWindowCount(int count) { m_windows = count; }

    uint8_t GetSplitCount() const { return m_split; }

private:
    uint8_t m_split = 0;
    uint32_t m_mainUser = LAYOUT_NO_USER;
    uint32_t m_fullUser = LAYOUT_NO_USER;
    int m_windows = 0;
};
