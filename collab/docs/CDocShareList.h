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

    void AddFile(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag, const char* name,
                 const char* secondName, const char* address) override;
    void AddDocument(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                     uint16_t value, uint16_t valueA, uint16_t valueB, const char* name,
                     const char* secondName, const char* path) override;

    // Opens the row: on the board, in the whiteboard, or as a download.
    void OpenRow(int row);

protected:
    void AddColumns() override;
    void FillMenu(HMENU menu) override;
    void OnMenuCommand(UINT id, int row) override;
    void OnDoubleClick(int row) override { OpenRow(row); }

private:
    void AddRow(SHARED_DOC_RECORD* record);
};
