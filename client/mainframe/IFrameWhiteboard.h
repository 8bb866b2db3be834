#pragma once
#include "IWhiteboard.h"

#include <cstddef>

class CWnd;

// Receives every board record the whiteboard writes: record, length, context.
typedef void (*FRAME_WHITEBOARD_SEND)(const void* data, size_t length, void* context);

// The whiteboard page of the main window: its window in the tab strip, the
// callback its records leave through, and what the dispatcher needs of it.
class CWBFrame;

class IFrameWhiteboard : public IWhiteboard
{
public:
    virtual CWnd* GetPageWindow() = 0;
    virtual void SetSendCallback(FRAME_WHITEBOARD_SEND fn, void* context) = 0;
    virtual void StopAllTransfers() = 0;
    // Opens a file as a board document (a picture becomes a page); false
    // when the page cannot.
    virtual bool OpenDocument(const char* /*path*/) { return false; }
    // The board's document frame, which opens and uploads the shared
    // documents; null for a page without one.
    virtual CWBFrame* DocumentFrame() { return nullptr; }
};

// Makes the whiteboard page as a child of parent; null when it cannot. The
// page's window frees the page when it is destroyed.
typedef IFrameWhiteboard* (*FRAME_WHITEBOARD_FACTORY)(CWnd* parent);
