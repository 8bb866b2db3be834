#pragma once
#include <windows.h>

#include <cstdint>

// What the player engine drives: the windows that show a recording. Build,
// DestroyChildren and SetLayoutRect run on the caller's thread; Clear and the
// record handlers on the play thread. Each handler gets a record's bytes
// after its time and length words (the prefix word included) and returns 1,
// or 0 to refuse the record, which ends playback with an error.
class IPlayerSink
{
public:
    virtual ~IPlayerSink() = default;

    virtual int Build(HWND owner) = 0;
    virtual void DestroyChildren() = 0;
    virtual int SetLayoutRect(int left, int top, int right, int bottom) = 0;
    // Empties every window before a seek is served.
    virtual void Clear() = 0;
    // Conversion: the audio output's playback tap on or off.
    virtual void SetPlaybackTap(bool on) = 0;

    virtual int OnAudioRecord(const unsigned char* record, uint32_t length) = 0;
    virtual int OnVideoRecord(const unsigned char* record, uint32_t length) = 0;
    virtual int OnBoardRecord(const unsigned char* record, uint32_t length) = 0;
    virtual int OnCommandRecord(const unsigned char* record, uint32_t length) = 0;
    virtual int OnChatRecord(const unsigned char* record, uint32_t length) = 0;
};
