#pragma once
#include "IFrameRecorder.h"

// The recorder library and the audio manager's record switch through the
// program's bound function table; a function that is not bound is left out
// (a start without the recorder fails).
class CFrameRecorder : public IFrameRecorder
{
public:
    bool StartRecord(const char* path) override;
    void StopRecord() override;
    std::string GetErrorMsg() override;
    void WriteAudioData(const void* data, unsigned long length, unsigned long extra) override;
    void WriteChatData(const char* text, uint32_t kind) override;
    void WriteBoardData(const void* data, unsigned long length) override;
    void AddAudio(uint32_t userId) override;
    void DelAudio(uint32_t userId) override;
    void ShowVideoWnd(uint8_t show) override;
    void ShowBoardWnd(uint8_t show) override;
    void ShowChatWnd(uint8_t show) override;
    void SplitVideoWnd(uint8_t count) override;
    void SetAudioRecord(bool on, AUDIO_RECORD_CALLBACK callback, void* context) override;
};
