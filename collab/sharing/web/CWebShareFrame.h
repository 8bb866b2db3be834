#pragma once
#include "CWebFrameBase.h"

// The presentation board: the tab strip and the views of the shared
// documents; it has no browser bar.
class CWebShareFrame : public CWebFrameBase
{
public:
    CWebShareFrame();

    // The board's go: one empty tab.
    void OnGoCommand() { Go(nullptr); }
    // A shared document opened on the board.
    virtual void OpenDocument(const char* address) { Go(address); }

    // A new board of the running edition: a plain one unless an edition
    // installed its own maker.
    static CWebShareFrame* Make();
    static void SetMaker(CWebShareFrame* (*maker)());

protected:
    CWebPoolView* MakePool() override;
};
