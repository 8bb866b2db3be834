#pragma once
#include <functional>
#include <cstdint>
#include <vector>

class CServerConfig;
struct SERVER_ROOM;
struct SERVER_SESSION;

// What a participant who comes into a running meeting is sent after his
// login reply, so that he sees what the others see: the lock, the video and
// screen broadcasts running, the current layout and the whiteboard documents
// open (as runs of board records).
class CJoinerState
{
public:
    static std::vector<std::vector<uint8_t>>
    Messages(const SERVER_ROOM& room, const CServerConfig& config, const SERVER_SESSION& joiner,
             const std::function<uint16_t(uint32_t)>& videoPortOf = {});
};
