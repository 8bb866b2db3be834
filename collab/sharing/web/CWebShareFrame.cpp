#include "CWebShareFrame.h"

#include "CWebShareViewManView.h"
#include "SharingResource.h"

CWebShareFrame::CWebShareFrame() : CWebFrameBase(WEB_BASE_BOARD, IDC_BOARD_TABS) {}

CWebPoolView* CWebShareFrame::MakePool() { return new CWebShareViewManView(this); }
