#include "CCommandContext.h"

#include "CServerMessage.h"
#include "WireReader.h"

CCommandContext::CCommandContext(const CServerConfig& config_, SERVER_ROOM& room_,
                                 const std::shared_ptr<SERVER_SESSION>& session_,
                                 const std::vector<uint8_t>& message_)
    : config(config_), room(room_), session(session_), message(message_),
      code(message_.size() >= 2 ? static_cast<uint16_t>(message_[0] | message_[1] << 8) : 0),
      length(message_.size())
{
    if (length >= 9) {
        WireReader fields(message.data(), length);
        fields.Seek(4);
        fields.U32(id);
        fields.U8(flag);
    }
}

uint16_t CCommandContext::U16(size_t at) const
{
    uint16_t v = 0;
    WireReader in(message.data(), length);
    in.Seek(at);
    in.U16(v);
    return v;
}

SessionList CCommandContext::All() const { return room.users; }

SessionList CCommandContext::Others() const
{
    SessionList targets;
    for (const auto& member : room.users) {
        if (member != session)
            targets.push_back(member);
    }
    return targets;
}

std::shared_ptr<SERVER_SESSION> CCommandContext::Member(uint32_t userId) const
{
    for (const auto& member : room.users) {
        if (member->userId == userId)
            return member;
    }
    return nullptr;
}

void CCommandContext::Send(SessionList targets, std::vector<uint8_t> payload)
{
    sends.emplace_back(std::move(targets), std::move(payload));
}

void CCommandContext::SpeakState(uint32_t userId, uint8_t state)
{
    CServerMessage m(CMD_SPEAK_STATE, 12);
    m.At(4).U32(userId);
    m.At(8).U8(state);
    Send(All(), m.Bytes());
}

void CCommandContext::ControlState(uint32_t userId, uint8_t state)
{
    CServerMessage m(CMD_DATA_CONTROL, 12);
    m.At(4).U32(userId);
    m.At(8).U8(state);
    Send(All(), m.Bytes());
}

void CCommandContext::GrantSpeech(SERVER_SESSION& target)
{
    size_t speaking = 0;
    for (const auto& m : room.users)
        speaking += m->info.speakState == 2;
    if (speaking >= room.config.speakers) {
        Send({session}, CServerMessage(CMD_SPEAKERS_FULL, 2).Bytes());
        return;
    }
    target.info.speakState = 2;
    SpeakState(target.userId, 2);
}

void CCommandContext::GiveControl(SERVER_SESSION& target)
{
    for (const auto& m : room.users) {
        if (m.get() != &target && m->info.controlState == 2) {
            m->info.controlState = 0;
            ControlState(m->userId, 0);
        }
    }
    target.info.controlState = 2;
    ControlState(target.userId, 2);
}
