#include "WebNotice.h"

#include "WireReader.h"
#include "WireWriter.h"

std::vector<uint8_t> CWebNotice::Tab(uint8_t base, uint8_t step, uint32_t tabId)
{
    std::vector<uint8_t> out(sizeof(WEB_NOTICE));
    WireWriter w(out.data(), out.size());
    w.U8(static_cast<uint8_t>(base + step));
    w.Zeros(3);
    w.U32(tabId);
    return out;
}

std::vector<uint8_t> CWebNotice::CloseAll(uint8_t base)
{
    return std::vector<uint8_t>(1, static_cast<uint8_t>(base + WEB_CLOSE_ALL));
}

bool CWebNotice::Navigate(uint8_t base, uint32_t tabId, const NAV_FIELDS& nav, size_t maxPayload,
                          std::vector<uint8_t>& out)
{
    const size_t fixed = sizeof(WEB_NOTICE) + 4 + sizeof(NAV_RECORD);
    const size_t strings = nav.address.size() + nav.frame.size() + nav.headers.size();
    if (nav.address.size() > 0xFFFF || nav.frame.size() > 0xFFFF || nav.headers.size() > 0xFFFF ||
        strings > 0xFFFF || fixed + strings > maxPayload)
        return false;
    size_t post = nav.post.size();
    if (post > 0xFFFF || strings + post > 0xFFFF || fixed + strings + post > maxPayload)
        post = 0;
    const size_t body = strings + post;
    out.assign(fixed + body, 0);
    WireWriter w(out.data(), out.size());
    w.U8(static_cast<uint8_t>(base + WEB_NAVIGATE));
    w.Zeros(3);
    w.U32(tabId);
    w.U32(static_cast<uint32_t>(sizeof(NAV_RECORD) + body));
    w.U32(nav.flags);
    w.U16(static_cast<uint16_t>(body));
    w.U16(static_cast<uint16_t>(nav.address.size()));
    w.U16(static_cast<uint16_t>(nav.frame.size()));
    w.U16(static_cast<uint16_t>(nav.headers.size()));
    w.U16(static_cast<uint16_t>(post));
    w.Zeros(2);
    w.Bytes(nav.address.data(), nav.address.size());
    w.Bytes(nav.frame.data(), nav.frame.size());
    w.Bytes(nav.headers.data(), nav.headers.size());
    w.Bytes(nav.post.data(), post);
    return w.Ok();
}

bool CWebNotice::Next(const uint8_t* data, size_t length, uint8_t base, WEB_RECORD& out)
{
    WireReader r(data, length);
    uint8_t kind = 0;
    if (!r.U8(kind) || kind < base || kind > base + WEB_CLOSE_ALL)
        return false;
    out = WEB_RECORD();
    out.step = static_cast<uint8_t>(kind - base);
    if (out.step == WEB_CLOSE_ALL) {
        out.size = 1;
        return true;
    }
    if (!r.Skip(3) || !r.U32(out.tabId))
        return false;
    if (out.step != WEB_NAVIGATE) {
        out.size = sizeof(WEB_NOTICE);
        return true;
    }
    uint32_t n = 0;
    if (!r.U32(n))
        return false;
    n &= 0xFFFF;
    out.nav = r.Current();
    if (!r.Skip(n))
        return false;
    out.navLength = n;
    out.size = sizeof(WEB_NOTICE) + 4 + n;
    return true;
}

bool CWebNotice::ParseNav(const uint8_t* data, size_t length, NAV_FIELDS& out)
{
    WireReader r(data, length);
    uint32_t flags = 0;
    uint16_t body = 0, address = 0, frame = 0, headers = 0, post = 0;
    if (!r.U32(flags) || !r.U16(body) || !r.U16(address) || !r.U16(frame) || !r.U16(headers) ||
        !r.U16(post) || !r.Skip(2))
        return false;
    if (static_cast<size_t>(address) + frame + headers + post != body ||
        length != sizeof(NAV_RECORD) + body)
        return false;
    if (address >= FIELD_SIZE || frame >= FIELD_SIZE || headers >= FIELD_SIZE)
        return false;
    NAV_FIELDS nav;
    nav.flags = flags;
    nav.address.assign(reinterpret_cast<const char*>(r.Current()), address);
    r.Skip(address);
    nav.frame.assign(reinterpret_cast<const char*>(r.Current()), frame);
    r.Skip(frame);
    nav.headers.assign(reinterpret_cast<const char*>(r.Current()), headers);
    r.Skip(headers);
    nav.post.assign(r.Current(), r.Current() + post);
    if (!r.Skip(post))
        return false;
    out = std::move(nav);
    return true;
}
