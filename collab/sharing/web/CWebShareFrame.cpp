#include "CWebShareFrame.h"

#include "CWebShareViewManView.h"
#include "SharingResource.h"

CWebShareFrame::CWebShareFrame() : CWebFrameBase(WEB_BASE_BOARD, IDC_BOARD_TABS) {}

CWebPoolView* CWebShareFrame::MakePool() { return new CWebShareViewManView(this); }

namespace {
CWebShareFrame* (*s_maker)() = nullptr;
}

CWebShareFrame* CWebShareFrame::Make() { return s_maker ? s_maker() : new CWebShareFrame; }

void CWebShareFrame::SetMaker(CWebShareFrame* (*maker)()) { s_maker = maker; }
