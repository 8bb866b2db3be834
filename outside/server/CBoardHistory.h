#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The whiteboard records a room has seen, kept per open document so that a
// participant who comes late can be given every document still open: its
// opening record, its changes in order and its current page; then the active
// document, the zoom and the scroll position. A closed document is forgotten.
// A room keeps at most kLimit bytes of changes; beyond that the oldest
// document's changes are no longer kept complete and the document is dropped
// from what late comers get.
class CBoardHistory
{
public:
    enum : size_t { kLimit = 16u << 20, kRunLimit = 60000 };

    // One relay payload of whiteboard records (kinds 1 to 8).
    void Take(const uint8_t* records, size_t length);
    // The records for a late comer, cut into runs of whole records of at most
    // kRunLimit bytes each.
    std::vector<std::vector<uint8_t>> Runs() const;
    size_t OpenCount() const { return m_documents.size(); }
    void Clear();

    // The length of the record at data (at most length bytes), 0 when it is
    // cut short or of no known kind.
    static size_t RecordLength(const uint8_t* data, size_t length);

private:
    struct Document
    {
        uint32_t id = 0;
        std::vector<uint8_t> opened;  // kind 2
        std::vector<uint8_t> changes; // kind 1 records, back to back
        std::vector<uint8_t> page;    // the last kind 6
    };
    Document* Find(uint32_t id);
    void Keep(std::vector<uint8_t>& into, const uint8_t* record, size_t length);

    std::vector<Document> m_documents; // in order of opening
    std::vector<uint8_t> m_active;     // the last kind 4 of an open document
    std::vector<uint8_t> m_zoom;       // the last kind 5
    std::vector<uint8_t> m_scroll;     // the last kind 8
    size_t m_kept = 0;
};
