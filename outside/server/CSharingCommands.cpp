#include "CSharingCommands.h"

#include "CCommandContext.h"
#include "CServerMessage.h"
#include "WireReader.h"

bool CSharingCommands::Handle(CCommandContext& c)
{
    switch (c.code) {
    case CMD_FILE_OFFER:
        if (c.length >= 16) {
            WireReader fields(c.message.data(), c.length);
            uint32_t size = 0, handle = 0;
            uint16_t nameLength = 0;
            uint8_t count = 0;
            fields.Seek(4);
            fields.U32(size);
            fields.U32(handle);
            fields.U16(nameLength);
            fields.U8(count);
            if (c.length != 16u + nameLength + 4u * count)
                return true;
            CServerMessage notice(CMD_FILE_OFFER_NOTICE, 20u + nameLength);
            notice.At(4).U32(c.Self());
            notice.At(8).U32(size);
            notice.At(12).U32(handle);
            notice.At(16).U16(nameLength);
            notice.At(20).Bytes(c.message.data() + 16, nameLength);
            fields.Seek(16u + nameLength);
            for (uint8_t i = 0; i < count; ++i) {
                uint32_t to = 0;
                fields.U32(to);
                if (auto target = c.Member(to))
                    c.Send({target}, notice.Bytes());
            }
        }
        return true;
    case CMD_SCREEN_BROADCAST:
        if (c.length == 4) {
            c.session->screenBroadcast = c.Byte(2) ? 1 : 0;
            CServerMessage m(CMD_SCREEN_BROADCAST_NOTICE, 12);
            m.At(4).U32(c.Self());
            m.At(8).U8(c.Byte(2));
            c.Send(c.Others(), m.Bytes());
        }
        return true;
    case CMD_REMOTE_CONTROL_REQUEST:
    case CMD_REMOTE_CONTROL_ANSWER:
        if (c.length == 12) {
            if (auto target = c.Member(c.id)) {
                CServerMessage m(c.code == CMD_REMOTE_CONTROL_REQUEST ? CMD_REMOTE_CONTROL_NOTICE
                                                                      : CMD_REMOTE_CONTROL_REPLY,
                                 12);
                m.At(4).U32(c.Self());
                m.At(8).U8(c.flag);
                c.Send({target}, m.Bytes());
            }
        }
        return true;
    case CMD_RELAY:
        if (c.length > 4 && c.length == 4u + c.U16(2)) {
            // Whiteboard records (high nibble 0) are kept for late comers.
            if ((c.Byte(4) & 0xF0) == 0)
                c.room.board.Take(c.message.data() + 4, c.length - 4);
            c.Send(c.Others(), c.message);
        }
        return true;
    case CMD_CAMERA_CONTROL:
        if (c.length >= 12 && c.length == 12u + c.Byte(8)) {
            if (auto target = c.Member(c.id)) {
                CServerMessage m(CMD_CAMERA_COMMAND, 4u + c.Byte(8));
                m.At(2).U8(c.Byte(8));
                m.At(4).Bytes(c.message.data() + 12, c.Byte(8));
                c.Send({target}, m.Bytes());
            }
        }
        return true;
    case CMD_BROADCAST_DATA:
        if (c.length >= 6) {
            uint16_t count = c.U16(2);
            uint16_t dataLength = c.U16(4);
            if (count == 0 || dataLength == 0 || c.length != 6u + 4u * count + dataLength)
                return true;
            CServerMessage data(CMD_PARTICIPANT_DATA, 12u + dataLength);
            data.At(4).U32(c.Self());
            data.At(8).U16(dataLength);
            data.At(12).Bytes(c.message.data() + 6 + 4u * count, dataLength);
            WireReader ids(c.message.data(), c.length);
            ids.Seek(6);
            for (uint16_t i = 0; i < count; ++i) {
                uint32_t to = 0;
                ids.U32(to);
                if (auto target = c.Member(to))
                    c.Send({target}, data.Bytes());
            }
        }
        return true;
    default:
        return false;
    }
}
