#include "MeetingState.h"

#include <cstring>

#include "WireReader.h"
#include "WireWriter.h"

namespace {
void Terminate(char* field, size_t size) { field[size - 1] = 0; }
} // namespace

void CMeetingState::Reset(MEETING_STATE& state)
{
    memset(&state, 0, sizeof state);
    state.code = CMD_MEETING_STATE;
    for (uint32_t& count : state.counts)
        count = VOTE_ITEM_UNUSED;
}

bool CMeetingState::Read(const void* data, size_t length, MEETING_STATE& state)
{
    if (!data || length < sizeof(MEETING_STATE))
        return false;
    WireReader reader(data, length);
    MEETING_STATE copy;
    if (!reader.Record(copy))
        return false;
    Terminate(copy.initiator, sizeof copy.initiator);
    Terminate(copy.title, sizeof copy.title);
    Terminate(copy.remark, sizeof copy.remark);
    for (auto& item : copy.items)
        Terminate(item, sizeof item);
    Terminate(copy.bulletin, sizeof copy.bulletin);
    state = copy;
    return true;
}

bool CMeetingState::Write(const MEETING_STATE& state, void* out, size_t capacity)
{
    WireWriter writer(out, capacity);
    return writer.Record(state);
}

void CMeetingState::ClearVote(MEETING_STATE& state)
{
    for (auto& item : state.items)
        item[0] = 0;
    state.title[0] = 0;
    state.remark[0] = 0;
    state.initiator[0] = 0;
    for (uint32_t& count : state.counts)
        count = VOTE_ITEM_UNUSED;
    state.startTime = 0;
}

void CMeetingState::CopyField(char* field, size_t size, const char* text)
{
    memset(field, 0, size);
    if (!text || size == 0)
        return;
    size_t n = 0;
    const size_t limit = size - 1;
    while (text[n] && n < limit) {
        const unsigned char c = static_cast<unsigned char>(text[n]);
        if (c >= 0x81 && c <= 0xFE && text[n + 1]) {
            if (n + 2 > limit)
                break;
            n += 2;
        } else
            ++n;
    }
    memcpy(field, text, n);
}
