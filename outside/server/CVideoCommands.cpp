#include "CVideoCommands.h"

#include "CCommandContext.h"
#include "CServerMessage.h"

bool CVideoCommands::Handle(CCommandContext& c)
{
    switch (c.code) {
    case CMD_VIDEO_BROADCAST:
        if (c.length == 12 && (c.Chair() || c.id == c.Self())) {
            if (auto target = c.Member(c.id)) {
                target->broadcast = c.flag ? 1 : 0;
                // The broadcaster is told like everybody else: his own 2059
                // sets his broadcast flag and shows him his picture as the
                // room receives it; his own 2060 clears the flag again.
                const SessionList& everyone = c.room.users;
                if (c.flag) {
                    const uint16_t videoPort = c.VideoPort(c.id);
                    CServerMessage start(CMD_START_SEND_VIDEO, 4);
                    start.At(2).U16(videoPort);
                    c.Send({target}, start.Bytes());
                    CServerMessage reply(CMD_RECEIVE_VIDEO_REPLY, 12);
                    reply.At(2).U8(0);
                    reply.At(4).U32(c.id);
                    reply.At(8).U16(videoPort);
                    reply.At(10).U8(1);
                    c.Send(everyone, reply.Bytes());
                } else {
                    CServerMessage stop(CMD_STOP_VIDEO, 12);
                    stop.At(4).U32(c.id);
                    stop.At(8).U8(1);
                    c.Send(everyone, stop.Bytes());
                    c.Send({target}, CServerMessage(CMD_STOP_SEND_VIDEO, 2).Bytes());
                    c.StopVideo(c.id);
                }
            }
        }
        return true;
    case CMD_STOP_VIDEO_NOTICE:
        if (c.length == 12) {
            if (auto target = c.Member(c.id)) {
                CServerMessage m(CMD_VIDEO_WIDTH, 6);
                m.At(2).Bytes(c.message.data() + 8, 4);
                c.Send({target}, m.Bytes());
            }
        }
        return true;
    default:
        return false;
    }
}
