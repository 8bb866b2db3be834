#pragma once
#include "CDocListBase.h"

// The whiteboard document files of the meeting: downloaded into a local
// file, never opened in place.
class CMeetingDocList : public CDocListBase
{
public:
    explicit CMeetingDocList(IDocShareHost* host);

protected:
    void AddColumns() override;
    void FillMenu(HMENU menu) override;
    void OnMenuCommand(UINT id, int row) override;
    // The whole file name.
    void AddRow(SHARED_DOC_RECORD* record) override;
};
