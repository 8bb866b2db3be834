#pragma once
#include <cstddef>
#include <cstdint>

// What the dispatcher needs of the meeting recorder. The dispatcher calls the
// writers only while IsRecording() is true.
class IRecorder
{
public:
    virtual ~IRecorder() = default;

    virtual bool IsRecording() = 0;
    // kind 0 a chat line, 1 a participant came, 2 a participant left.
    virtual void WriteChatData(const char* text, uint32_t kind) = 0;
    virtual void WriteBoardData(const void* data, size_t length) = 0;
    virtual void AddAudio(uint32_t userId) = 0;
    virtual void DelAudio(uint32_t userId) = 0;
};
