#pragma once
// Driving installed clients from the test process: their windows found by
// process, control id, class or title; texts read and typed; buttons and
// commands posted; file dialogs answered; the screen read back. Every wait
// is bounded by the caller's time.
#include <winsock2.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "HalvernProcess.h"

namespace windowkit {

// Calls pred every 200 ms until it holds or the time runs out.
template <class Pred>
bool WaitUntil(Pred pred, DWORD timeoutMs)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!pred()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        Sleep(200);
    }
    return true;
}

// Every descendant of top with the control id (and a class containing cls).
std::vector<HWND> Controls(HWND top, int id, const char* cls = nullptr);
// The first of them, or null.
HWND Control(HWND top, int id, const char* cls = nullptr);

// A window's whole text, read across processes.
std::string Text(HWND wnd);

// The item data of each row of a list box.
std::vector<LRESULT> ListData(HWND list);

// The visible top-level windows of the client, optionally only those whose
// class is cls.
std::vector<HWND> TopWindows(const HalvernProcess& client, const char* cls = nullptr);

// The client's visible top-level window whose title holds text, or null.
HWND TitledWindow(const HalvernProcess& client, const char* text);

// Installs the client into a folder of its own named after name and points
// its settings at the stand-in server (and its file store, when filePort is
// not 0); false with the reason in error when the install failed.
bool InstallClient(HalvernProcess& client, const std::string& name, const std::string& version,
                   int serverPort, int filePort, std::string* error);

// The texts of a dialog's static controls, one a line (what a message box
// says).
std::string BoxText(HWND dialog);
// The client's visible dialog box whose static texts hold text; null when
// none showed within the time.
HWND WaitForBox(HalvernProcess& client, const char* text, DWORD timeoutMs);

// The client's main window once its title holds count (e.g. the number of
// participants); null when it did not within the time.
HWND MainWindow(HalvernProcess& client, const std::string& count, DWORD timeoutMs);

// The client's visible windows with their static texts, and its log: for a
// failure's message.
std::string Describe(HalvernProcess& client);

// A button's click as its parent receives it (posted: a button that opens a
// modal box does not hold up the test).
void Click(HWND button);
// The click of the button with the id inside top; false when there is none.
bool ClickControl(HWND top, int id);
// A command posted to a window, as a menu item sends it.
void Command(HWND wnd, int id);

// Types a line into a client's chat pane and sends it; Heard: the line
// shows in the chat history.
bool Say(HWND frame, const char* line);
bool Heard(HWND frame, const char* line);

// A press, moves and a release of the left button along a line of a
// window, the cursor moved along with them.
void DragIn(HWND wnd, POINT from, POINT to);

// The file name box of a file dialog typed in, then OK; false when the
// dialog has no such box.
bool AnswerFileDialog(HWND dialog, const std::string& path);

// The pixels of a window as the screen shows them that match, with frame
// (its top-level window) kept on top while they are read.
int CountShown(HWND frame, HWND wnd, const std::function<bool(COLORREF)>& match);
bool IsRed(COLORREF c);
// The green of the pictures WritePicture makes with RGB(0, 160, 0).
bool IsPictureGreen(COLORREF c);

// The whiteboard page of a main window, and the page window of the
// document the board shows; null when there is none.
HWND BoardOf(HWND frame);
HWND ShownPage(HWND board);

// A 24-bit picture file of one colour; false when it could not be written.
bool WritePicture(const std::string& path, int width, int height, COLORREF colour);

// Writes content to a new file; false when it could not be written.
bool WriteWholeFile(const std::string& path, const std::string& content);

} // namespace windowkit
