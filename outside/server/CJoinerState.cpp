#include "CJoinerState.h"

#include "CServerConfig.h"
#include "CServerMessage.h"
#include "ServerRoom.h"
#include "ServerSession.h"

std::vector<std::vector<uint8_t>>
CJoinerState::Messages(const SERVER_ROOM& room, const CServerConfig& config,
                       const SERVER_SESSION& joiner,
                       const std::function<uint16_t(uint32_t)>& videoPortOf)
{
    std::vector<std::vector<uint8_t>> messages;
    if (room.locked) {
        CServerMessage lock(CMD_LOCK_MEETING, 4);
        lock.At(2).U8(1);
        messages.push_back(lock.Bytes());
    }
    for (const auto& member : room.users) {
        if (member.get() == &joiner)
            continue;
        if (member->broadcast) {
            CServerMessage video(CMD_RECEIVE_VIDEO_REPLY, 12);
            video.At(4).U32(member->userId);
            const uint16_t port = videoPortOf ? videoPortOf(member->userId) : 0;
            video.At(8).U16(port ? port : config.videoPort);
            video.At(10).U8(1);
            messages.push_back(video.Bytes());
        }
        if (member->screenBroadcast) {
            CServerMessage screen(CMD_SCREEN_BROADCAST_NOTICE, 12);
            screen.At(4).U32(member->userId);
            screen.At(8).U8(1);
            messages.push_back(screen.Bytes());
        }
    }
    if (!room.layout.empty())
        messages.push_back(room.layout);
    for (const std::vector<uint8_t>& run : room.board.Runs()) {
        CServerMessage records(CMD_RELAY_RUN, 4 + run.size());
        records.At(2).U16(static_cast<uint16_t>(run.size()));
        records.At(4).Bytes(run.data(), run.size());
        messages.push_back(records.Bytes());
    }
    return messages;
}
