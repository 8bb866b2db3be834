#pragma once
#include <cstdint>

#include "IRecorder.h"

// The meeting recorder over the recorder library's bound functions; recording
// while the flag it is given (the main window's) is nonzero.
class CRecorderLink : public IRecorder
{
public:
    explicit CRecorderLink(const volatile uint32_t* recording) : m_recording(recording) {}

    bool IsRecording() override;
    void WriteChatData(const char* text, uint32_t kind) override;
    void WriteBoardData(const void* data, size_t length) override;
    void AddAudio(uint32_t userId) override;
    void DelAudio(uint32_t userId) override;

private:
    const volatile uint32_t* m_recording;
};
