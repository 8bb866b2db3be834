#include "CWBPacket.h"

#include "WireReader.h"
#include "WireWriter.h"

#include <cstring>

namespace {
bool ReadString(WireReader& r, size_t length, std::string* out)
{
    out->assign(reinterpret_cast<const char*>(r.Current()), r.Remaining() >= length ? length : 0);
    return r.Skip(length);
}
} // namespace

size_t CWBPacket::Read(const BYTE* data, size_t length, WB_PACKET* out)
{
    if (!data || length == 0 || !out)
        return 0;
    WireReader r(data, length);
    uint8_t kind = 0;
    r.U8(kind);
    *out = WB_PACKET();
    out->kind = kind;
    switch (kind) {
    case WBP_CHANGE: {
        uint16_t n = 0;
        if (!r.U32(out->doc) || !r.U16(n) || r.Remaining() < n)
            return 0;
        out->change = r.Current();
        out->changeLength = n;
        r.Skip(n);
        break;
    }
    case WBP_OPENED: {
        uint8_t pages = 0, backgrounds = 0, a = 0, b = 0, c = 0;
        if (!r.U32(out->doc) || !r.I32(out->width) || !r.I32(out->height) || !r.U8(pages) ||
            !r.U8(backgrounds) || !r.U8(out->openedHere) || !r.U8(out->uploadFlag) || !r.U8(a) ||
            !r.U8(b) || !r.U8(c))
            return 0;
        if (r.Remaining() < (size_t)a + b + c)
            return 0;
        out->pages = pages;
        out->backgrounds = backgrounds;
        ReadString(r, a, &out->title);
        ReadString(r, b, &out->server);
        ReadString(r, c, &out->stored);
        break;
    }
    case WBP_CLOSED:
    case WBP_ACTIVATED:
        if (!r.U32(out->doc))
            return 0;
        break;
    case WBP_ZOOM:
        if (!r.U16(out->zoomNum) || !r.U16(out->zoomDen))
            return 0;
        break;
    case WBP_PAGE: {
        uint8_t page = 0;
        if (!r.U32(out->doc) || !r.U8(page))
            return 0;
        out->page = page;
        break;
    }
    case WBP_SCROLL:
        if (!r.U32(out->scroll))
            return 0;
        break;
    default:
        return 0;
    }
    return r.Ok() ? r.Offset() : 0;
}

std::string CWBPacket::CutString(const char* text)
{
    if (!text)
        return std::string();
    size_t n = strnlen(text, MAX_STRING + 1);
    if (n <= MAX_STRING)
        return std::string(text, n);
    // Walk the characters so that the cut never splits a double-byte one.
    size_t end = 0;
    while (end < MAX_STRING) {
        size_t step = ::IsDBCSLeadByte((BYTE)text[end]) && text[end + 1] ? 2 : 1;
        if (end + step > MAX_STRING)
            break;
        end += step;
    }
    return std::string(text, end);
}

bool CWBPacket::WriteChange(WireWriter& w, uint32_t doc, const BYTE* change, UINT changeLength)
{
    if (changeLength > 0xFFFF)
        return false;
    return w.U8(WBP_CHANGE) && w.U32(doc) && w.U16((uint16_t)changeLength) &&
           w.Bytes(change, changeLength);
}

size_t CWBPacket::OpenedSize(const char* title, const char* server, const char* stored)
{
    return sizeof(WBP_OPENED_HEAD) + CutString(title).size() + CutString(server).size() +
           CutString(stored).size();
}

bool CWBPacket::WriteOpened(WireWriter& w, const WB_PACKET& p)
{
    const std::string a = CutString(p.title.c_str());
    const std::string b = CutString(p.server.c_str());
    const std::string c = CutString(p.stored.c_str());
    return w.U8(WBP_OPENED) && w.U32(p.doc) && w.I32(p.width) && w.I32(p.height) &&
           w.U8((uint8_t)p.pages) && w.U8((uint8_t)p.backgrounds) && w.U8(p.openedHere) &&
           w.U8(p.uploadFlag) && w.U8((uint8_t)a.size()) && w.U8((uint8_t)b.size()) &&
           w.U8((uint8_t)c.size()) && w.Bytes(a.data(), a.size()) && w.Bytes(b.data(), b.size()) &&
           w.Bytes(c.data(), c.size());
}

bool CWBPacket::WriteDoc(WireWriter& w, int kind, uint32_t doc)
{
    return w.U8((uint8_t)kind) && w.U32(doc);
}

bool CWBPacket::WriteZoom(WireWriter& w, uint16_t num, uint16_t den)
{
    return w.U8(WBP_ZOOM) && w.U16(num) && w.U16(den);
}

bool CWBPacket::WritePage(WireWriter& w, uint32_t doc, BYTE page)
{
    return w.U8(WBP_PAGE) && w.U32(doc) && w.U8(page);
}

bool CWBPacket::WriteScroll(WireWriter& w, uint32_t pos) { return w.U8(WBP_SCROLL) && w.U32(pos); }
