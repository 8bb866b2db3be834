#include "CBoardHistory.h"

#include <algorithm>

#include "WireReader.h"

namespace {

enum : uint8_t {
    BOARD_CHANGE = 1,
    BOARD_OPENED = 2,
    BOARD_CLOSED = 3,
    BOARD_ACTIVATED = 4,
    BOARD_ZOOM = 5,
    BOARD_PAGE = 6,
    BOARD_SCROLL = 8,
};

uint32_t DocumentOf(const uint8_t* record, size_t length)
{
    uint32_t id = 0;
    WireReader in(record, length);
    in.Skip(1);
    in.U32(id);
    return id;
}

} // namespace

size_t CBoardHistory::RecordLength(const uint8_t* data, size_t length)
{
    if (length == 0)
        return 0;
    WireReader in(data, length);
    size_t need = 0;
    switch (data[0]) {
    case BOARD_CHANGE: {
        uint16_t n = 0;
        in.Seek(5);
        if (!in.U16(n))
            return 0;
        need = 7u + n;
        break;
    }
    case BOARD_OPENED: {
        uint8_t a = 0, b = 0, c = 0;
        in.Seek(17);
        if (!in.U8(a) || !in.U8(b) || !in.U8(c))
            return 0;
        need = 20u + a + b + c;
        break;
    }
    case BOARD_CLOSED:
    case BOARD_ACTIVATED:
    case BOARD_ZOOM:
    case BOARD_SCROLL:
        need = 5;
        break;
    case BOARD_PAGE:
        need = 6;
        break;
    default:
        return 0;
    }
    return need <= length ? need : 0;
}

CBoardHistory::Document* CBoardHistory::Find(uint32_t id)
{
    for (Document& d : m_documents) {
        if (d.id == id)
            return &d;
    }
    return nullptr;
}

void CBoardHistory::Keep(std::vector<uint8_t>& into, const uint8_t* record, size_t length)
{
    into.insert(into.end(), record, record + length);
    m_kept += length;
    // Past the limit the oldest documents go first.
    while (m_kept > kLimit && !m_documents.empty()) {
        Document& oldest = m_documents.front();
        m_kept -= std::min(m_kept, oldest.changes.size() + oldest.opened.size());
        m_documents.erase(m_documents.begin());
    }
}

void CBoardHistory::Take(const uint8_t* records, size_t length)
{
    size_t at = 0;
    while (at < length) {
        const uint8_t* record = records + at;
        size_t n = RecordLength(record, length - at);
        if (n == 0)
            return;
        at += n;
        uint32_t id =
            record[0] == BOARD_ZOOM || record[0] == BOARD_SCROLL ? 0 : DocumentOf(record, n);
        switch (record[0]) {
        case BOARD_OPENED:
            if (!Find(id)) {
                m_documents.push_back(Document());
                m_documents.back().id = id;
                Keep(m_documents.back().opened, record, n);
            }
            break;
        case BOARD_CHANGE:
            if (Document* d = Find(id))
                Keep(d->changes, record, n);
            break;
        case BOARD_CLOSED:
            m_documents.erase(std::remove_if(m_documents.begin(), m_documents.end(),
                                             [&](const Document& d) { return d.id == id; }),
                              m_documents.end());
            if (!m_active.empty() && DocumentOf(m_active.data(), m_active.size()) == id)
                m_active.clear();
            break;
        case BOARD_ACTIVATED:
            if (Find(id))
                m_active.assign(record, record + n);
            break;
        case BOARD_PAGE:
            if (Document* d = Find(id))
                d->page.assign(record, record + n);
            break;
        case BOARD_ZOOM:
            m_zoom.assign(record, record + n);
            break;
        case BOARD_SCROLL:
            m_scroll.assign(record, record + n);
            break;
        }
    }
}

std::vector<std::vector<uint8_t>> CBoardHistory::Runs() const
{
    std::vector<std::vector<uint8_t>> runs;
    auto add = [&](const std::vector<uint8_t>& records) {
        size_t at = 0;
        while (at < records.size()) {
            size_t n = RecordLength(records.data() + at, records.size() - at);
            if (n == 0)
                return;
            if (runs.empty() || runs.back().size() + n > kRunLimit)
                runs.push_back(std::vector<uint8_t>());
            runs.back().insert(runs.back().end(), records.begin() + at, records.begin() + at + n);
            at += n;
        }
    };
    for (const Document& d : m_documents) {
        add(d.opened);
        add(d.changes);
        add(d.page);
    }
    add(m_active);
    add(m_zoom);
    add(m_scroll);
    return runs;
}

void CBoardHistory::Clear()
{
    m_documents.clear();
    m_active.clear();
    m_zoom.clear();
    m_scroll.clear();
    m_kept = 0;
}
