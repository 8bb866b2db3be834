#pragma once
// Helpers for tests that run clients against an embedded stand-in server.
#include <windows.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "CCommandManager.h"
#include "CStandInServer.h"
#include "CUserTable.h"

inline uint64_t SteadyMs()
{
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now().time_since_epoch())
                                     .count());
}

// Two rooms (1 chair-controlled, 2 free), a host and three participants.
inline CServerConfig StandInTestConfig()
{
    CServerConfig config;
    config.version = "2.5.0.7";
    config.updatePort = 8123;
    config.updateServers = {"10.0.0.1", "10.0.0.2"};
    config.keepAliveSeconds = 0;
    config.ftpServerPort = 0; // the file store on a free port
    // The audio relay on a free port too: a server of the main job or of
    // another test run may hold the usual one.
    config.audioPort = 0;
    ROOM_CONFIG first;
    first.id = 1;
    first.name = "Room one";
    first.mode = 2;
    first.capacity = 60;
    first.speakers = 2;
    ROOM_CONFIG second;
    second.id = 2;
    second.name = "Room two";
    second.mode = 0;
    second.nicknames = false;
    config.rooms = {first, second};
    config.accounts = {{"host", "pw", 1}, {"alice", "a", 2}, {"bob", "b", 2}, {"carol", "c", 4}};
    return config;
}

// One client: its own participant table, login record and command manager.
class StandInClient
{
public:
    StandInClient() : manager(&users, &login) { memset(&login, 0, sizeof login); }
    ~StandInClient() { manager.Close(); }

    bool Login(uint16_t port, const char* user, const char* password, uint32_t room = 1,
               uint32_t mode = 0)
    {
        strcpy(login.serverAddress, "127.0.0.1");
        login.serverPort = port;
        strncpy(login.userName, user, sizeof login.userName - 1);
        strncpy(login.password, password, sizeof login.password - 1);
        login.roomId = room;
        login.loginMode = mode;
        return manager.Login(&login, text);
    }

    // The next queued server message; false when none came within the time.
    bool Next(std::vector<uint8_t>& message, uint32_t timeoutMs, bool* lost = nullptr)
    {
        CQueueBuffer* buffer = manager.GetFilled(timeoutMs);
        if (!buffer)
            return false;
        message.assign(buffer->GetData(), buffer->GetData() + buffer->GetLength());
        if (lost)
            *lost = buffer->GetLength() == 0;
        manager.PutFree(buffer);
        return true;
    }

    // Waits for a message with this code, skipping others.
    bool WaitFor(uint16_t code, std::vector<uint8_t>& message, uint32_t timeoutMs = 3000)
    {
        uint64_t end = SteadyMs() + timeoutMs;
        for (;;) {
            uint64_t now = SteadyMs();
            if (now >= end)
                return false;
            if (!Next(message, static_cast<uint32_t>(end - now)))
                return false;
            if (message.size() >= 2 && (message[0] | message[1] << 8) == code)
                return true;
        }
    }

    CUserTable users;
    LOGIN_INFO login;
    CCommandManager manager;
    char text[CCommandManager::TEXT_SIZE] = {};
};

inline uint32_t ReadU32(const std::vector<uint8_t>& m, size_t at)
{
    return m.size() >= at + 4
               ? (m[at] | m[at + 1] << 8 | m[at + 2] << 16 | uint32_t(m[at + 3]) << 24)
               : 0;
}

inline uint16_t ReadU16(const std::vector<uint8_t>& m, size_t at)
{
    return m.size() >= at + 2 ? static_cast<uint16_t>(m[at] | m[at + 1] << 8) : 0;
}
