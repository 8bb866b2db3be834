#include "RecordFormat.h"

#include <cstring>

#include "WireWriter.h"

const char REC_FILE_MAGIC[4] = {'V', ')', ')', 'A'};

uint32_t RecStreamCapacity(uint32_t kind)
{
    switch (kind) {
    case REC_STREAM_AUDIO:
        return 0x20000;
    case REC_STREAM_VIDEO:
        return 0x40000;
    case REC_STREAM_BOARD:
    case REC_STREAM_COMMAND:
    case REC_STREAM_CHAT:
        return 0x10000;
    default:
        return 0;
    }
}

bool RecStreamHasPrefix(uint32_t kind)
{
    return kind == REC_STREAM_AUDIO || kind == REC_STREAM_VIDEO || kind == REC_STREAM_CHAT;
}

size_t RecLayoutLength(uint8_t code)
{
    switch (code) {
    case REC_LAYOUT_ADD_VIDEO:
    case REC_LAYOUT_DEL_VIDEO:
    case REC_LAYOUT_FLOAT_VIDEO:
    case REC_LAYOUT_MAIN_VIDEO:
    case REC_LAYOUT_LAST_VIDEO:
    case REC_LAYOUT_ADD_AUDIO:
    case REC_LAYOUT_DEL_AUDIO:
        return 5;
    case REC_LAYOUT_FULL_VIDEO:
        return 6;
    case REC_LAYOUT_SWAP_VIDEO:
        return 9;
    case REC_LAYOUT_SPLIT_MODE:
    case REC_LAYOUT_SHOW_VIDEO:
    case REC_LAYOUT_SHOW_BOARD:
    case REC_LAYOUT_SHOW_CHAT:
        return 2;
    default:
        return 0;
    }
}

void RecBuildFileStart(unsigned char (&out)[REC_DATA_OFFSET], const char* name, uint32_t startTime)
{
    REC_FILE_HEADER header;
    memset(&header, 0, sizeof header);
    memcpy(header.magic, REC_FILE_MAGIC, sizeof header.magic);
    header.version = REC_FILE_VERSION;
    if (name)
        memcpy(header.name, name, strnlen(name, sizeof header.name));
    header.startTime = startTime;
    header.totalTime = 0;
    header.firstBlockChunk = REC_NO_CHUNK;
    header.firstFileChunk = REC_NO_CHUNK;
    header.reserved = 0;
    header.streamCount = REC_STREAM_COUNT;

    WireWriter w(out, sizeof out);
    w.Record(header);
    for (uint32_t kind = REC_STREAM_AUDIO; kind <= REC_STREAM_CHAT; ++kind) {
        REC_STREAM_DESC desc = {kind, RecStreamCapacity(kind), 0};
        w.Record(desc);
    }
}
