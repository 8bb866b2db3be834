#include "CVideoWallPane.h"

#include "WindowLayout.h"

namespace {
// The wall answers -1 for "nobody"; the main window's layout says none.
uint32_t LayoutUser(long user) { return user < 0 ? LAYOUT_NO_USER : (uint32_t)user; }
} // namespace

bool CVideoWallPane::Create(CWnd* parent)
{
    if (!m_wall.Create(parent))
        return false;
    m_wall.ShowWindow(SW_SHOW);
    return true;
}

void CVideoWallPane::SetSplitCount(uint8_t count) { m_wall.SetSplitCount(count); }

void CVideoWallPane::SetMainVideo(uint32_t userId)
{
    if (userId != LAYOUT_NO_USER)
        m_wall.SetMainVideo(userId);
}

uint32_t CVideoWallPane::GetMainVideoUser() { return LayoutUser(m_wall.GetFirstVideoUserId()); }

void CVideoWallPane::SetFullVideo(uint32_t userId, bool on)
{
    m_wall.SetFullVideo(userId, on ? TRUE : FALSE);
}

uint32_t CVideoWallPane::GetFullScreenUser() { return LayoutUser(m_wall.GetBigVideoUserId()); }

void CVideoWallPane::RemoveUserWindow(uint32_t userId) { m_wall.RemoveUser(userId); }

int CVideoWallPane::AddUserVideo(const char* userName, uint32_t userId)
{
    return m_wall.AddUserVideo(userName ? userName : "", userId);
}

void CVideoWallPane::SetUserVideoTarget(uint32_t userId, uint16_t serverPort)
{
    m_wall.SetUserVideoTarget(userId, serverPort);
}

void CVideoWallPane::DropNonBroadcastVideos() { m_wall.DropNonBroadcastVideos(); }
