#include "CParticipantCommands.h"

#include "CCommandContext.h"
#include "CServerMessage.h"
#include "ServerClock.h"

bool CParticipantCommands::Handle(CCommandContext& c)
{
    WIRE_USER_INFO& me = c.Me();
    switch (c.code) {
    case CMD_DEVICE_INFO:
        if (c.length == 6) {
            me.hasAudio = c.Byte(2);
            me.hasVideo = c.Byte(3);
            me.deviceFlagA = c.Byte(4);
            me.deviceFlagB = c.Byte(5);
            CServerMessage m(CMD_USER_DEVICES, 12);
            m.At(4).U32(c.Self());
            m.At(8).U8(me.hasAudio);
            m.At(9).U8(me.hasVideo);
            m.At(10).U8(me.deviceFlagA);
            m.At(11).U8(me.deviceFlagB);
            c.Send(c.All(), m.Bytes());
        }
        return true;
    case CMD_KICK_USER:
        if (c.length == 12 && me.role == 1 && c.id != c.Self()) {
            if (auto target = c.Member(c.id)) {
                uint16_t minutes = c.U16(8);
                c.room.bans[target->info.name] = ServerNowMs() + minutes * 60000ull;
                c.Send({target}, CServerMessage(CMD_KICK_USER, 2).Bytes());
                c.Kick(target);
            }
        }
        return true;
    case CMD_GRANT_SPEAK:
        if (c.length == 12 && c.Chair()) {
            if (auto target = c.Member(c.id)) {
                if (c.flag) {
                    c.GrantSpeech(*target);
                } else {
                    target->info.speakState = 0;
                    c.SpeakState(c.id, 0);
                }
            }
        }
        return true;
    case CMD_SPEECH_REQUEST:
        if (me.role != 3 && me.speakState == 0) {
            if (c.room.mode == 0) {
                c.GrantSpeech(*c.session);
            } else {
                me.speakState = 1;
                c.SpeakState(c.Self(), 1);
            }
        }
        return true;
    case CMD_SPEECH_GIVE_UP:
        me.speakState = 0;
        c.SpeakState(c.Self(), 0);
        return true;
    case CMD_MEETING_CONTROL:
        if (c.length == 12 && c.Chair()) {
            if (auto target = c.Member(c.id)) {
                if (c.flag && target->info.role != 4) {
                    c.GiveControl(*target);
                } else if (!c.flag) {
                    target->info.controlState = 0;
                    c.ControlState(c.id, 0);
                }
            }
        }
        return true;
    case CMD_CONTROL_REQUEST:
        if (me.role != 3 && me.controlState == 0) {
            if (c.room.mode == 0 && me.role != 4) {
                c.GiveControl(*c.session);
            } else {
                me.controlState = 1;
                c.ControlState(c.Self(), 1);
            }
        }
        return true;
    case CMD_CONTROL_GIVE_UP:
        me.controlState = 0;
        c.ControlState(c.Self(), 0);
        return true;
    case CMD_VIDEO_DEVICE:
        if (c.length == 12 && c.Chair()) {
            if (auto target = c.Member(c.id)) {
                CServerMessage m(CMD_DEVICE_STATE, 4);
                m.At(2).U8(c.flag);
                c.Send({target}, m.Bytes());
            }
        }
        return true;
    case CMD_TEMPORARY_HOST:
        if (c.length == 12 && me.role == 1 && (c.flag == 1 || c.flag == 2)) {
            if (auto target = c.Member(c.id)) {
                target->info.role = c.flag == 1 ? 1 : 2;
                CServerMessage m(CMD_ROLE, 12);
                m.At(4).U32(c.id);
                m.At(8).U8(target->info.role);
                c.Send(c.All(), m.Bytes());
            }
        }
        return true;
    case CMD_WHITEBOARD_RIGHT:
    case CMD_RECORD_RIGHT:
    case CMD_TEXT_CHAT_RIGHT:
    case CMD_FILE_UPLOAD_RIGHT:
        if (c.length == 12 && c.Chair()) {
            if (auto target = c.Member(c.id)) {
                WIRE_USER_INFO& info = target->info;
                uint8_t& right = c.code == CMD_WHITEBOARD_RIGHT  ? info.allowWhiteboard
                                 : c.code == CMD_RECORD_RIGHT    ? info.allowRecord
                                 : c.code == CMD_TEXT_CHAT_RIGHT ? info.allowTextChat
                                                                 : info.allowFileUpload;
                right = c.flag;
                c.Send(c.All(), c.message);
            }
        }
        return true;
    default:
        return false;
    }
}
