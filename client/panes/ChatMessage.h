#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "ServerWire.h"

// One chat line as command 2088 carries it in its payload (CHAT_MSG_HEAD,
// then the text with its terminator).
struct CHAT_LINE
{
    uint32_t privateFlag = 0;
    std::string face;
    uint32_t fontSize = 0;
    std::string text;
};

class CChatMessage
{
public:
    enum : uint32_t {
        HEAD_SIZE = sizeof(CHAT_MSG_HEAD),
        FACE_SIZE = sizeof(CHAT_MSG_HEAD::face),
        // The longest text a line may have: with the payload head and the
        // command head it stays below 2049 bytes.
        MAX_TEXT = 2043,
        MIN_FONT_SIZE = 6,
        MAX_FONT_SIZE = 72,
    };

    // The payload of a line: length 21 + the text's length. The face is cut
    // to 11 bytes, never through a double-byte character.
    static std::vector<uint8_t> Build(const CHAT_LINE& line);
    // Reads a received payload of length bytes. False for a payload too
    // short to hold its head and a terminator. The text is taken up to its
    // terminator or the end of the payload; the face is terminated within its
    // field; the size is kept within 6 to 72 points.
    static bool Parse(const void* payload, size_t length, CHAT_LINE& line);
    // A face name cut to at most max bytes on a character boundary.
    static std::string FitFace(const char* face, size_t max = FACE_SIZE - 1);
};
