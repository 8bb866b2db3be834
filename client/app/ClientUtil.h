#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "ServerWire.h"

class CUserTable;

// Small helpers that the whole client uses.

// Drive and folder of the program file, with a trailing backslash.
std::string GetAppDirectory();

enum : uint8_t { SPLIT_DRIVE = 1, SPLIT_FOLDER = 2, SPLIT_NAME = 4, SPLIT_EXTENSION = 8 };
// The parts of path selected by the mask, concatenated ("C:", "\\dir\\",
// "name", ".ext"); double-byte characters of code page 936 are kept whole.
std::string SplitPath(const char* path, uint8_t parts);

// Deletes every file and sub-folder under folder, sub-folders once they are
// empty; hidden and system entries (and what they hold) are skipped; the
// folder itself stays.
void DeleteFolderTree(const char* folder);

// True when the own participant may change the meeting's layout: the host;
// otherwise false without an own record, true while it holds the meeting
// control, else true exactly when the meeting is not chair-controlled (mode 2).
bool HasControlRight(const LOGIN_INFO& login, CUserTable& users);
bool HasControlRight();

// Information box without owner and without caption.
void ShowMessage(const char* text);
void ShowMessageById(uint32_t id);
// OK/Cancel question over the main window (no owner before it exists),
// caption "系统提示"; the button pressed.
int AskMainWindow(const char* text);
int AskMainWindowById(uint32_t id);
// A system line in the main window's chat pane; nothing before it exists.
void AddSystemNotice(const char* text);
void AddSystemNoticeById(uint32_t id);

// Sends a message to every top-level window of the calling thread that has
// a permanent window object: first to its descendants that have one (deep),
// then to the window itself.
void BroadcastToThreadWindows(UINT message, WPARAM wParam, LPARAM lParam);

// Splits list at "|" and returns the first token followed by a "|" that
// equals address; when none does, the last token compared; "" when list
// holds no "|". The text after the last "|" is never a candidate.
std::string FindTokenInList(const char* list, const char* address);
std::string FindTokenInList(const char* list);
