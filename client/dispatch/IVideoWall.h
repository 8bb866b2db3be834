#pragma once
#include <cstdint>

// What the dispatcher needs of the video wall.
class IVideoWall
{
public:
    virtual ~IVideoWall() = default;

    // Closes the user's video window; nothing for a user without one.
    virtual void RemoveUserWindow(uint32_t userId) = 0;
    // Opens a window for the user; 0 when no window is free, else 1.
    virtual int AddUserVideo(const char* userName, uint32_t userId) = 0;
    // Points the receiver of the user's window at the server's port.
    virtual void SetUserVideoTarget(uint32_t userId, uint16_t serverPort) = 0;
    // Drops every window whose user is not broadcasting (not for the host).
    virtual void DropNonBroadcastVideos() = 0;
};
