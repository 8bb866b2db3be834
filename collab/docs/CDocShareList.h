#pragma once
#include "CDocListBase.h"

// A list of the network-disk page: presentation files (added as files) or
// whiteboard-format documents (added as documents). An openable row opens
// on the presentation board or in the whiteboard; one of the meeting folder
// is downloaded instead.
class CDocShareList : public CDocListBase
{
public:
    explicit CDocShareList(IDocShareHost* host);

    // Opens the row: on the board, in the whiteboard, or as a download.
    void OpenRow(int row);

protected:
    void AddColumns() override;
    void FillMenu(HMENU menu) override;
    void OnMenuCommand(UINT id, int row) override;
    void OnDoubleClick(int row) override { OpenRow(row); }
    // The name without its extension, and the file type beside it.
    void AddRow(SHARED_DOC_RECORD* record) override;
};
