#pragma once
#include <cstdint>

#pragma pack(push, 1)

// The fixed head of one item of the shared-document lists (commands 2095 and
// 2101); three texts without terminators follow it, nameLength,
// secondNameLength and thirdLength bytes one after another.
struct DOC_ITEM
{
    uint32_t id;
    uint8_t kind;      // 0 file, 1 document
    uint8_t entryKind;
    uint8_t reserved1[2];
    uint32_t folderId;
    uint8_t flag;
    uint8_t reserved2;
    uint16_t value;
    uint16_t valueA;
    uint16_t valueB;
    uint8_t nameLength;
    uint8_t secondNameLength;
    uint16_t thirdLength;
};
static_assert(sizeof(DOC_ITEM) == 24, "DOC_ITEM is 24 bytes");

#pragma pack(pop)

// The folder of the meeting's whiteboard documents.
enum : uint32_t { MEETING_DOC_FOLDER = 1354 };
