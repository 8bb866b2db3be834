#pragma once
#include <cstdint>
#include <string>

#include "AudioManagerApi.h"

// What the main window's recording needs of the recorder library and of the
// audio manager's record switch.
class IFrameRecorder
{
public:
    virtual ~IFrameRecorder() = default;

    // Starts a recording into path; false when the recorder refused it.
    virtual bool StartRecord(const char* path) = 0;
    virtual void StopRecord() = 0;
    // The recorder's text for its last failure ("" when it has none).
    virtual std::string GetErrorMsg() = 0;
    virtual void WriteAudioData(const void* data, unsigned long length, unsigned long extra) = 0;
    // kind 0 a chat line, 1 a participant present or joining, 2 one leaving.
    virtual void WriteChatData(const char* text, uint32_t kind) = 0;
    virtual void WriteBoardData(const void* data, unsigned long length) = 0;
    virtual void AddAudio(uint32_t userId) = 0;
    virtual void DelAudio(uint32_t userId) = 0;
    // Which of the meeting's windows a replay shows, and the video split.
    virtual void ShowVideoWnd(uint8_t show) = 0;
    virtual void ShowBoardWnd(uint8_t show) = 0;
    virtual void ShowChatWnd(uint8_t show) = 0;
    virtual void SplitVideoWnd(uint8_t count) = 0;
    // The audio manager hands the room's audio to callback while on.
    virtual void SetAudioRecord(bool on, AUDIO_RECORD_CALLBACK callback, void* context) = 0;
};
