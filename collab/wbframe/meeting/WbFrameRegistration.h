#pragma once
#include "IWBTransfers.h"

// Makes the whiteboard frame the main window's whiteboard page and creates
// the hidden window the virtual printer reports to. Called once by the
// program before its main window is made.
void RegisterWhiteboardFrame();
class CWBMeetingFrame;
// The same with frames of another edition's kind (new'ed by maker).
void RegisterWhiteboardFrame(CWBMeetingFrame* (*maker)());
// The maker of the frames' transfer lists (the client's own by default);
// with none, documents travel without their page pictures.
void SetWhiteboardTransfersFactory(WB_TRANSFERS_FACTORY factory);
