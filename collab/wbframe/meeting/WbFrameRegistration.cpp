#include "WbFrameRegistration.h"

#include "CDlgPrintProc.h"
#include "CMainFrame.h"
#include "CVirtualPrinterLink.h"
#include "CWBFrameTransfers.h"
#include "CWBMeetingFrame.h"

namespace {
// The client's own transfers unless another maker is set.
WB_TRANSFERS_FACTORY s_transfers = &CWBFrameTransfers::MakeForClient;
// Lives, hidden, until the program ends.
CDlgPrintProc* s_printProc = nullptr;
CWBMeetingFrame* (*s_maker)() = nullptr;

IFrameWhiteboard* MakeWhiteboardPage(CWnd* parent)
{
    try {
        // The print processor addresses the hidden report window by its
        // caption, for the whole run.
        if (!s_printProc) {
            s_printProc = new CDlgPrintProc(&CVirtualPrinterLink::Instance());
            if (!s_printProc->CreateHidden()) {
                delete s_printProc;
                s_printProc = nullptr;
            }
        }
        CWBMeetingFrame* frame = s_maker ? s_maker() : new CWBMeetingFrame;
        IWBTransfers* transfers = s_transfers ? s_transfers(frame, frame) : nullptr;
        if (!frame->CreateFrame(parent, 0, &frame->Host(), transfers,
                                &CVirtualPrinterLink::Instance())) {
            delete frame;
            return nullptr;
        }
        return frame;
    } catch (...) {
        return nullptr;
    }
}
} // namespace

void RegisterWhiteboardFrame() { CMainFrame::SetWhiteboardFactory(&MakeWhiteboardPage); }

void RegisterWhiteboardFrame(CWBMeetingFrame* (*maker)())
{
    s_maker = maker;
    CMainFrame::SetWhiteboardFactory(&MakeWhiteboardPage);
}

void SetWhiteboardTransfersFactory(WB_TRANSFERS_FACTORY factory) { s_transfers = factory; }
