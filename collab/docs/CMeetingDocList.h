#pragma once
#include "CDocListBase.h"

// The whiteboard document files of the meeting: downloaded into a local
// file, never opened in place.
class CMeetingDocList : public CDocListBase
{
public:
    explicit CMeetingDocList(IDocShareHost* host);

    void AddFile(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag, const char* name,
                 const char* secondName, const char* address) override;
    void AddDocument(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                     uint16_t value, uint16_t valueA, uint16_t valueB, const char* name,
                     const char* secondName, const char* path) override;

protected:
    void AddColumns() override;
    void FillMenu(HMENU menu) override;
    void OnMenuCommand(UINT id, int row) override;
};
