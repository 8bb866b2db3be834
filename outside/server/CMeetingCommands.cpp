#include "CMeetingCommands.h"

#include "CCommandContext.h"
#include "CServerMessage.h"
#include "WireWriter.h"

bool CMeetingCommands::Handle(CCommandContext& c)
{
    switch (c.code) {
    case CMD_MEETING_MODE:
        if (c.length == 4 && c.Chair()) {
            c.room.mode = c.Byte(2);
            c.Send(c.All(), c.message);
        }
        return true;
    case CMD_LOCK_MEETING:
        if (c.length == 4 && c.Chair()) {
            c.room.locked = c.Byte(2) != 0;
            c.Send(c.All(), c.message);
        }
        return true;
    case CMD_WINDOW_LAYOUT:
        if (c.length >= 4 && c.length == 4u + c.Byte(2)) {
            c.room.layout = c.message;
            c.Send(c.Others(), c.message);
        }
        return true;
    case CMD_CHAT:
        if (c.length >= 20 && c.length == 20u + c.U16(16)) {
            std::vector<uint8_t> relayed = c.message;
            // The sender is who the connection says, not what the message claims.
            WireWriter(relayed.data() + 8, 4).U32(c.Self());
            if (c.id == 0) {
                c.Send(c.Others(), relayed);
            } else if (auto target = c.Member(c.id)) {
                c.Send({target}, relayed);
            }
        }
        return true;
    case CMD_KEEP_ALIVE:
        c.Send({c.session}, CServerMessage(CMD_KEEP_ALIVE, 2).Bytes());
        return true;
    case CMD_MEETING_STATE:
        // Everybody, the sender too, gets the stored record in the room's
        // order, so that all hold the same state after changes at one moment.
        if (c.length == MEETING_STATE_SIZE) {
            c.room.meetingState = c.message;
            WireWriter(c.room.meetingState.data(), 2).U16(CMD_MEETING_STATE_ALL);
            c.Send(c.All(), c.room.meetingState);
        }
        return true;
    case CMD_START_NOTICE:
        c.Send({c.session}, c.room.meetingState);
        return true;
    default:
        return false;
    }
}
