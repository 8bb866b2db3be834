#pragma once
#include "IRecorder.h"

class IFrameRecorder;

// The recorder as the dispatcher sees it: the main window's recorder while
// the window's recording flag is set.
class CFrameRecorderLink : public IRecorder
{
public:
    CFrameRecorderLink(IFrameRecorder* recorder, const volatile uint32_t* recording)
        : m_recorder(recorder), m_recording(recording)
    {}

    bool IsRecording() override { return *m_recording != 0; }
    void WriteChatData(const char* text, uint32_t kind) override;
    void WriteBoardData(const void* data, size_t length) override;
    void AddAudio(uint32_t userId) override;
    void DelAudio(uint32_t userId) override;

private:
    IFrameRecorder* m_recorder;
    const volatile uint32_t* m_recording;
};
