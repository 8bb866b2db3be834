#pragma once
#include <cstdint>
#include <string>

// One row of a shared-document list, owned by its list (the row's item data).
struct SHARED_DOC_RECORD
{
    enum : uint8_t { CLASS_FILE = 0, CLASS_DOCUMENT = 1 };
    enum : uint8_t { ENTRY_OPENABLE = 2 };
    enum : uint32_t { MEETING_DOC_FOLDER = 1354 };

    uint8_t docClass =
        CLASS_FILE;        // a file opens on the presentation board, a document in the whiteboard
    uint8_t entryKind = 0; // only ENTRY_OPENABLE rows open, download or delete
    uint32_t id = 0;       // the server's id
    uint32_t folderId = 0; // MEETING_DOC_FOLDER: whiteboard document files, downloaded only
    uint8_t flag = 0;
    uint16_t value = 0;
    uint32_t valueA = 0;
    uint32_t valueB = 0;
    std::string name; // file name with extension
    std::string secondName;
    std::string address; // a presentation file's location
    std::string path;    // a stored document's path

    bool IsOpenable() const { return entryKind == ENTRY_OPENABLE; }
};
