#include "BoardRecords.h"

#include "WireReader.h"
#include "WireWriter.h"

namespace {

std::string TextOrEmpty(const uint8_t* p, uint16_t length)
{
    if (length == 0 || length >= CBoardRecords::MAX_TEXT)
        return std::string();
    return std::string(reinterpret_cast<const char*>(p), length);
}

} // namespace

std::vector<uint8_t> CBoardRecords::OpenPage(uint32_t pageId, uint8_t flag,
                                             const std::string& title, const std::string& address,
                                             const std::string& third)
{
    if (title.size() > 0xFFFF || address.size() > 0xFFFF || third.size() > 0xFFFF)
        return std::vector<uint8_t>();
    std::vector<uint8_t> record(sizeof(BOARD_OPEN_PAGE_HEAD) + title.size() + address.size() +
                                third.size());
    WireWriter w(record.data(), record.size());
    w.U8(BOARD_OPEN_PAGE);
    w.Zeros(3);
    w.U32(pageId);
    w.U8(flag);
    w.Zeros(1);
    w.U16(static_cast<uint16_t>(title.size()));
    w.U16(static_cast<uint16_t>(address.size()));
    w.U16(static_cast<uint16_t>(third.size()));
    w.Bytes(title.data(), title.size());
    w.Bytes(address.data(), address.size());
    w.Bytes(third.data(), third.size());
    return w.Ok() ? record : std::vector<uint8_t>();
}

std::vector<uint8_t> CBoardRecords::Navigate(uint32_t pageId, const uint8_t* payload, size_t length)
{
    if (length > 0xFFFF || (length && !payload))
        return std::vector<uint8_t>();
    std::vector<uint8_t> record(sizeof(BOARD_NAVIGATE_HEAD) + length);
    WireWriter w(record.data(), record.size());
    w.U8(BOARD_NAVIGATE);
    w.Zeros(3);
    w.U32(pageId);
    w.U16(static_cast<uint16_t>(length));
    w.Zeros(2);
    w.Bytes(payload, length);
    return w.Ok() ? record : std::vector<uint8_t>();
}

std::vector<uint8_t> CBoardRecords::PageRecord(uint8_t kind, uint32_t pageId)
{
    std::vector<uint8_t> record(sizeof(BOARD_PAGE_RECORD));
    WireWriter w(record.data(), record.size());
    w.U8(kind);
    w.Zeros(3);
    w.U32(pageId);
    return record;
}

std::vector<uint8_t> CBoardRecords::CloseAll() { return std::vector<uint8_t>(1, BOARD_CLOSE_ALL); }

size_t CBoardRecords::ReadRun(const uint8_t* data, size_t length, IBoardRecordTarget& target)
{
    if (!data)
        return 0;
    size_t at = 0;
    while (at < length) {
        WireReader r(data + at, length - at);
        uint8_t kind = 0;
        r.U8(kind);
        r.Seek(4);
        uint32_t pageId = 0;
        if (kind == BOARD_CLOSE_ALL) {
            target.OnCloseAll();
            at += 1;
        } else if (kind == BOARD_CLOSE_PAGE || kind == BOARD_ACTIVATE_PAGE) {
            if (!r.U32(pageId))
                break;
            if (kind == BOARD_CLOSE_PAGE)
                target.OnClosePage(pageId);
            else
                target.OnActivatePage(pageId);
            at += sizeof(BOARD_PAGE_RECORD);
        } else if (kind == BOARD_NAVIGATE) {
            uint16_t payload = 0;
            if (!r.U32(pageId) || !r.U16(payload) ||
                length - at < sizeof(BOARD_NAVIGATE_HEAD) + payload)
                break;
            target.OnNavigate(pageId, data + at + sizeof(BOARD_NAVIGATE_HEAD), payload);
            at += sizeof(BOARD_NAVIGATE_HEAD) + payload;
        } else if (kind == BOARD_OPEN_PAGE) {
            uint8_t flag = 0;
            uint16_t lt = 0, la = 0, lx = 0;
            if (!r.U32(pageId) || !r.U8(flag) || !r.Seek(10) || !r.U16(lt) || !r.U16(la) ||
                !r.U16(lx))
                break;
            const size_t total = sizeof(BOARD_OPEN_PAGE_HEAD) + lt + la + lx;
            if (length - at < total)
                break;
            const uint8_t* texts = data + at + sizeof(BOARD_OPEN_PAGE_HEAD);
            target.OnOpenPage(pageId, flag, TextOrEmpty(texts, lt), TextOrEmpty(texts + lt, la),
                              TextOrEmpty(texts + lt + la, lx));
            at += total;
        } else {
            break;
        }
    }
    return at;
}
