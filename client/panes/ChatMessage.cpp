#include "ChatMessage.h"

#include <cstring>

#include "WireReader.h"
#include "WireWriter.h"

std::string CChatMessage::FitFace(const char* face, size_t max)
{
    if (!face)
        return std::string();
    size_t n = 0;
    while (face[n] && n < max) {
        const unsigned char c = static_cast<unsigned char>(face[n]);
        const size_t step = (c >= 0x81 && c <= 0xFE && face[n + 1]) ? 2 : 1;
        if (n + step > max)
            break;
        n += step;
    }
    return std::string(face, n);
}

std::vector<uint8_t> CChatMessage::Build(const CHAT_LINE& line)
{
    std::vector<uint8_t> payload(HEAD_SIZE + line.text.size() + 1, 0);
    CHAT_MSG_HEAD head = {};
    head.privateFlag = line.privateFlag;
    const std::string face = FitFace(line.face.c_str());
    memcpy(head.face, face.data(), face.size());
    head.fontSize = line.fontSize;
    WireWriter writer(payload.data(), payload.size());
    writer.Record(head);
    writer.Bytes(line.text.data(), line.text.size());
    writer.U8(0);
    return payload;
}

bool CChatMessage::Parse(const void* payload, size_t length, CHAT_LINE& line)
{
    if (!payload || length < HEAD_SIZE + 1)
        return false;
    WireReader reader(payload, length);
    CHAT_MSG_HEAD head;
    if (!reader.Record(head))
        return false;
    line.privateFlag = head.privateFlag;
    head.face[FACE_SIZE - 1] = 0;
    line.face = FitFace(head.face);
    line.fontSize = head.fontSize < MIN_FONT_SIZE   ? MIN_FONT_SIZE
                    : head.fontSize > MAX_FONT_SIZE ? MAX_FONT_SIZE
                                                    : head.fontSize;
    const char* text = reinterpret_cast<const char*>(reader.Current());
    const size_t available = reader.Remaining();
    line.text.assign(text, strnlen(text, available));
    return true;
}
