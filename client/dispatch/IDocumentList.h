#pragma once
#include <cstdint>
#include <string>

// What the dispatcher needs of a shared-document list: the meeting-document
// list, the file list and the network disk's document list are one object each.
class IDocumentList
{
public:
    virtual ~IDocumentList() = default;

    virtual void AddFile(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                         const char* name, const char* secondName, const char* address) = 0;
    virtual void AddDocument(uint8_t entryKind, uint32_t id, uint32_t folderId, uint8_t flag,
                             uint16_t value, uint16_t valueA, uint16_t valueB, const char* name,
                             const char* secondName, const char* path) = 0;
    virtual void RemoveDocument(uint32_t id, uint8_t kind) = 0;
    virtual void RenameDocument(uint32_t id, uint8_t kind, const char* name) = 0;
    virtual void OnDeleteNotice(uint32_t id, uint8_t kind, uint32_t a, uint32_t b) = 0;
    // The row's text, empty when the list has no such row.
    virtual std::string GetDocumentName(uint32_t id, uint8_t kind) = 0;
    // Deletes every row.
    virtual void Clear() = 0;
    // Deletes every row and asks the server for the whole list again.
    virtual void Reload() = 0;
};
