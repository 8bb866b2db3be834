#pragma once
#include "afxwin.h"

// The interface font shared by skinned captions, tab strips, combo boxes,
// the prompt dialog and the status bar. The application creates it at
// start-up (CreateUiFont); GetUiFont creates it on first use when nobody
// did, so a control never draws with no font at all.
extern CFont g_UiFont;

// Creates g_UiFont from the system's icon-title font, else "System" at
// height -11. Does nothing when it exists already.
void CreateUiFont();
CFont* GetUiFont();
