#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "CServerConfig.h"
#include "ServerRoom.h"
#include "ServerSession.h"

typedef std::vector<std::shared_ptr<SERVER_SESSION>> SessionList;

// One command a participant sent, while the server handles it under its lock:
// the room, the sender, the fields most commands carry, and the messages the
// handlers queue. The server sends the queued messages in order once the
// handlers are done, still in the room's order.
class CCommandContext
{
public:
    CCommandContext(const CServerConfig& config, SERVER_ROOM& room,
                    const std::shared_ptr<SERVER_SESSION>& session,
                    const std::vector<uint8_t>& message);

    const CServerConfig& config;
    SERVER_ROOM& room;
    const std::shared_ptr<SERVER_SESSION>& session;
    const std::vector<uint8_t>& message;
    const uint16_t code;
    const size_t length;
    // Most commands carry a user id at 4 and a byte at 8 (0 when shorter).
    uint32_t id = 0;
    uint8_t flag = 0;

    uint32_t Self() const { return session->userId; }
    WIRE_USER_INFO& Me() { return session->info; }
    // The host, or the holder of the meeting control.
    bool Chair() const { return session->info.role == 1 || session->info.controlState == 2; }
    // A byte or a little-endian u16 of the message, 0 past its end.
    uint8_t Byte(size_t at) const { return at < length ? message[at] : 0; }
    uint16_t U16(size_t at) const;

    SessionList All() const;
    SessionList Others() const;
    std::shared_ptr<SERVER_SESSION> Member(uint32_t userId) const;

    void Send(SessionList targets, std::vector<uint8_t> payload);
    void Kick(const std::shared_ptr<SERVER_SESSION>& target) { kicked.push_back(target); }

    // Shared reactions: a speak or control state told to everybody, speech
    // granted (or refused when the speakers are full), control given.
    void SpeakState(uint32_t userId, uint8_t state);
    void ControlState(uint32_t userId, uint8_t state);
    void GrantSpeech(SERVER_SESSION& target);
    void GiveControl(SERVER_SESSION& target);

    // The video relay: the port a broadcaster sends to (the settings' video
    // port where no relay runs) and the end of his broadcast.
    std::function<uint16_t(uint32_t userId)> videoPortFor;
    std::function<void(uint32_t userId)> stopVideoFor;
    uint16_t VideoPort(uint32_t userId) const
    {
        const uint16_t port = videoPortFor ? videoPortFor(userId) : 0;
        return port ? port : config.videoPort;
    }
    void StopVideo(uint32_t userId) const
    {
        if (stopVideoFor)
            stopVideoFor(userId);
    }

    std::vector<std::pair<SessionList, std::vector<uint8_t>>> sends;
    SessionList kicked;
};
