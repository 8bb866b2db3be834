#pragma once
#include <windows.h>

#include <string>

// Drives the whiteboard page of a running client's main window from outside,
// as a user would: shows the page, takes the meeting control and draws on
// the board, and reads back off the screen what the board shows.
class CWhiteboardDriver
{
public:
    // What a shown page holds of the drawing, in pixels.
    struct Drawing
    {
        int red = 0;  // the thick red line
        int blue = 0; // the blue filled ellipse
    };

    // frame: the client's main window. turn: a mutex held while the window
    // is raised above the others' for mouse input or a reading (may be null).
    CWhiteboardDriver(HWND frame, HANDLE turn);

    // Shows the main window's whiteboard page.
    void ShowPage();
    // Takes the meeting control (the edit right comes with it), waits for the
    // board's blank document and draws a thick red line and a blue filled
    // ellipse on it; false with the reason when it cannot, by the deadline
    // (a tick count).
    bool Draw(DWORD deadline, std::string* error);
    // Waits until the board's shown page holds both shapes (or the deadline
    // passes); true when it does. drawing: what the page showed last.
    bool WaitForDrawing(DWORD deadline, Drawing* drawing);

    // Whether a shown page holds both shapes.
    static bool Holds(const Drawing& drawing);

private:
    HWND Board() const;
    HWND ShownPage() const;
    HWND WaitForPage(DWORD deadline) const;
    Drawing Read(HWND page);
    void Drag(HWND page, POINT from, POINT to);
    void Raise(bool on);

    HWND m_frame;
    HANDLE m_turn;
};
