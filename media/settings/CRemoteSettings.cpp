#include "CRemoteSettings.h"

#include "WireReader.h"
#include "WireWriter.h"

namespace {
const size_t kAudioOffset = 4;
const size_t kVideoOffset = 48;
const int kPartWords = 11;

void WriteParts(WireWriter& out, const DEVICE_SETTINGS& s, bool withCamera)
{
    const uint32_t* words = &s.AudioCapture;
    out.Seek(kAudioOffset);
    for (int i = 0; i < 2 * kPartWords; ++i) {
        bool camera = i == 15 || i == 16; // control port and camera type
        if (camera && !withCamera)
            out.U32(0);
        else if (i == 2)
            out.U32(words[i] & 0xFF); // the format is one byte
        else
            out.U32(words[i]);
    }
}

bool ReadParts(WireReader& in, DEVICE_SETTINGS* s)
{
    uint32_t* words = &s->AudioCapture;
    in.Seek(kAudioOffset);
    for (int i = 0; i < 2 * kPartWords; ++i)
        in.U32(words[i]);
    s->AudioFormat &= 0xFF;
    return in.Ok();
}

uint16_t SubType(const void* data, size_t length)
{
    WireReader in(data, length);
    uint16_t type = 0;
    in.U16(type);
    return in.Ok() ? type : 0;
}
} // namespace

std::vector<uint8_t> CRemoteSettings::BuildQuery()
{
    std::vector<uint8_t> out(QUERY_SIZE);
    WireWriter w(out.data(), out.size());
    w.U16(QUERY);
    return out;
}

std::vector<uint8_t> CRemoteSettings::BuildReport(const DEVICE_SETTINGS& settings,
                                                  const REMOTE_NAMES& names)
{
    std::vector<uint8_t> out(REPORT_SIZE, 0);
    WireWriter w(out.data(), out.size());
    w.U16(REPORT);
    WriteParts(w, settings, true);
    for (int i = 0; i < NAMES_LIST_COUNT; ++i)
        PackNames(names.list[i], out.data() + NAMES_OFFSET + i * NAMES_SIZE);
    return out;
}

std::vector<uint8_t> CRemoteSettings::BuildApply(const DEVICE_SETTINGS& settings)
{
    std::vector<uint8_t> out(APPLY_SIZE, 0);
    WireWriter w(out.data(), out.size());
    w.U16(APPLY);
    WriteParts(w, settings, false);
    return out;
}

bool CRemoteSettings::ParseReport(const void* data, size_t length, DEVICE_SETTINGS* settings,
                                  REMOTE_NAMES* names)
{
    if (length < REPORT_SIZE || SubType(data, length) != REPORT)
        return false;
    WireReader in(data, length);
    DEVICE_SETTINGS parsed = {};
    if (!ReadParts(in, &parsed))
        return false;
    uint8_t field[NAMES_SIZE];
    in.Seek(NAMES_OFFSET);
    for (int i = 0; i < NAMES_LIST_COUNT; ++i) {
        if (!in.Bytes(field, sizeof field))
            return false;
        names->list[i] = ParseNames(field);
    }
    *settings = parsed;
    return true;
}

bool CRemoteSettings::ParseApply(const void* data, size_t length, DEVICE_SETTINGS* settings)
{
    if (length < APPLY_SIZE || SubType(data, length) != APPLY)
        return false;
    WireReader in(data, length);
    DEVICE_SETTINGS parsed = {};
    if (!ReadParts(in, &parsed))
        return false;
    *settings = parsed;
    return true;
}

void CRemoteSettings::PackNames(const std::vector<std::string>& names, uint8_t* field)
{
    WireWriter out(field, NAMES_SIZE);
    out.Zeros(NAMES_SIZE);
    out.Seek(0);
    size_t used = 0;
    for (const std::string& name : names) {
        // An empty name would end the list early; keep one byte for the end.
        if (name.empty() || used + name.size() + 1 + 1 > NAMES_SIZE)
            break;
        out.Bytes(name.c_str(), name.size() + 1);
        used += name.size() + 1;
    }
}

std::vector<std::string> CRemoteSettings::ParseNames(const uint8_t* field)
{
    std::vector<std::string> names;
    size_t at = 0;
    while (at < NAMES_SIZE && field[at] != 0) {
        size_t end = at;
        while (end < NAMES_SIZE && field[end] != 0)
            ++end;
        if (end == NAMES_SIZE)
            break; // a name without its terminator inside the field
        names.emplace_back(reinterpret_cast<const char*>(field + at), end - at);
        at = end + 1;
    }
    return names;
}
