#pragma once
#include <windows.h>

// Posted to the owner window given to the player (wParam = lParam = 0).
#define WM_PLAY_ERROR (WM_USER + 100)    // the recording cannot be played on
#define WM_PLAY_FINISHED (WM_USER + 101) // every stream has been played
// Sent to the player's whiteboard frame.
#define WM_PLAY_BOARDDATA (WM_USER + 500)  // wParam the record run, lParam its length
#define WM_PLAY_BOARDCLEAR (WM_USER + 501) // the board starts empty
