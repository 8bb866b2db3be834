#pragma once
#include <cstddef>
#include <cstdint>

// What the dispatcher needs of the main window: its title, the meeting-state
// record it holds, the layout control, the arrow bar, its message boxes and
// its closing. Called on the UI thread only.
class IMainWindow
{
public:
    virtual ~IMainWindow() = default;

    // The title with a new participant count, a new meeting mode, or as it is
    // (after the bulletin changed).
    virtual void SetParticipantCount(int count) = 0;
    virtual void SetMeetingModeText(uint8_t mode) = 0;
    virtual void BuildTitle() = 0;

    // Replaces the held 1392-byte meeting-state record by a received one
    // (length is always the record's size).
    virtual void ReplaceMeetingState(const void* record, size_t length) = 0;

    // Takes the layout control (flag set, current layout sent) or drops it.
    virtual void TakeLayoutControl() = 0;
    virtual void DropLayoutControl() = 0;
    // A layout record received from the participant holding the layout
    // control; the window applies only a 12-byte record in meeting mode 2.
    virtual void ApplyWindowLayout(const void* record, size_t length) = 0;

    virtual void EnableArrowBar(bool enable) = 0;

    // Information box with the system's default caption.
    virtual void ShowMessage(const char* text) = 0;
    // OK/Cancel question over the main window, caption "系统提示"; the button pressed.
    virtual int AskQuestion(const char* text) = 0;
    // Posts WM_CLOSE to the main window (the close sequence).
    virtual void PostClose() = 0;
};
