#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WebNotice.h"

namespace {

std::vector<uint8_t> NavRecordBytes(uint16_t body, uint16_t a, uint16_t f, uint16_t h, uint16_t p,
                                    size_t tail)
{
    std::vector<uint8_t> r(16 + tail, 'x');
    auto put16 = [&](size_t at, uint16_t v) {
        r[at] = static_cast<uint8_t>(v);
        r[at + 1] = static_cast<uint8_t>(v >> 8);
    };
    r[0] = r[1] = r[2] = r[3] = 0;
    put16(4, body);
    put16(6, a);
    put16(8, f);
    put16(10, h);
    put16(12, p);
    r[14] = r[15] = 0;
    return r;
}

} // namespace

TEST(WebNotice, RecordsFollowOneAnotherAndACutOneEndsTheRun)
{
    std::vector<uint8_t> payload = CWebNotice::Tab(WEB_BASE_BROWSING, WEB_OPEN, 0x11223344);
    std::vector<uint8_t> second = CWebNotice::Tab(WEB_BASE_BROWSING, WEB_ACTIVATE, 0x11223344);
    payload.insert(payload.end(), second.begin(), second.end());
    NAV_FIELDS nav;
    nav.address = "http://example/";
    std::vector<uint8_t> navigate;
    ASSERT_TRUE(CWebNotice::Navigate(WEB_BASE_BROWSING, 0x11223344, nav, 1000, navigate));
    payload.insert(payload.end(), navigate.begin(), navigate.end());
    const size_t whole = payload.size();
    payload.insert(payload.end(), {0x22, 0, 0}); // a close record cut short

    std::vector<uint8_t> steps;
    size_t used = 0;
    WEB_RECORD r;
    while (CWebNotice::Next(payload.data() + used, payload.size() - used, WEB_BASE_BROWSING, r)) {
        steps.push_back(r.step);
        EXPECT_EQ(0x11223344u, r.tabId);
        used += r.size;
    }
    EXPECT_EQ((std::vector<uint8_t>{WEB_OPEN, WEB_ACTIVATE, WEB_NAVIGATE}), steps);
    EXPECT_EQ(whole, used);

    // Kinds of the other frame, or beyond the table, are not taken.
    const uint8_t board[] = {0x11, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_FALSE(CWebNotice::Next(board, sizeof board, WEB_BASE_BROWSING, r));
    const uint8_t beyond[] = {0x25};
    EXPECT_FALSE(CWebNotice::Next(beyond, 1, WEB_BASE_BROWSING, r));
    const uint8_t closeAll[] = {0x14, 0x99};
    ASSERT_TRUE(CWebNotice::Next(closeAll, sizeof closeAll, WEB_BASE_BOARD, r));
    EXPECT_EQ(WEB_CLOSE_ALL, r.step);
    EXPECT_EQ(1u, r.size);
    // A navigation whose length runs past the payload is cut.
    navigate.pop_back();
    EXPECT_FALSE(CWebNotice::Next(navigate.data(), navigate.size(), WEB_BASE_BROWSING, r));
}

TEST(WebNotice, NavigationsAreCheckedBeforeTheirFieldsAreRead)
{
    struct Case
    {
        const char* what;
        std::vector<uint8_t> record;
        bool ok;
    } cases[] = {
        {"lengths add up", NavRecordBytes(10, 4, 2, 3, 1, 10), true},
        {"an address of 259 bytes", NavRecordBytes(259, 259, 0, 0, 0, 259), true},
        {"an address of 260 bytes", NavRecordBytes(260, 260, 0, 0, 0, 260), false},
        {"headers of 260 bytes", NavRecordBytes(260, 0, 0, 260, 0, 260), false},
        // The body length agrees with the record, but the fields claim more:
        // post data would be read past the record.
        {"fields beyond the body", NavRecordBytes(10, 4, 2, 3, 200, 10), false},
        {"fields short of the body", NavRecordBytes(10, 4, 2, 3, 0, 10), false},
        {"a body beyond the record", NavRecordBytes(20, 10, 0, 0, 10, 10), false},
        {"a head cut short", std::vector<uint8_t>(15, 0), false},
    };
    for (const Case& c : cases) {
        NAV_FIELDS nav;
        EXPECT_EQ(c.ok, CWebNotice::ParseNav(c.record.data(), c.record.size(), nav)) << c.what;
    }
    NAV_FIELDS nav;
    ASSERT_TRUE(CWebNotice::ParseNav(cases[0].record.data(), cases[0].record.size(), nav));
    EXPECT_EQ("xxxx", nav.address);
    EXPECT_EQ("xx", nav.frame);
    EXPECT_EQ("xxx", nav.headers);
    EXPECT_EQ(1u, nav.post.size());
}

TEST(WebNotice, PostDataThatDoesNotFitIsLeftOut)
{
    NAV_FIELDS nav;
    nav.flags = 0x40;
    nav.address = "http://host/form";
    nav.frame = "_top";
    nav.headers = "Content-Type: application/x-www-form-urlencoded\r\n";
    struct Case
    {
        size_t post;
        size_t maxPayload;
        size_t keptPost;
    } cases[] = {
        {100, 32764, 100},
        {32764, 32764, 0},  // beyond the relay's payload
        {70000, 200000, 0}, // beyond the 16-bit lengths
        {0, 32764, 0},
    };
    for (const Case& c : cases) {
        nav.post.assign(c.post, 'p');
        std::vector<uint8_t> out;
        ASSERT_TRUE(CWebNotice::Navigate(WEB_BASE_BOARD, 7, nav, c.maxPayload, out)) << c.post;
        EXPECT_LE(out.size(), c.maxPayload);
        WEB_RECORD r;
        ASSERT_TRUE(CWebNotice::Next(out.data(), out.size(), WEB_BASE_BOARD, r));
        EXPECT_EQ(out.size(), r.size);
        NAV_FIELDS back;
        ASSERT_TRUE(CWebNotice::ParseNav(r.nav, r.navLength, back)) << c.post;
        EXPECT_EQ(c.keptPost, back.post.size()) << c.post;
        EXPECT_EQ(nav.address, back.address);
        EXPECT_EQ(nav.frame, back.frame);
        EXPECT_EQ(nav.headers, back.headers);
        EXPECT_EQ(0x40u, back.flags);
    }
    std::vector<uint8_t> out;
    EXPECT_FALSE(
        CWebNotice::Navigate(WEB_BASE_BOARD, 7, nav, 40, out)); // not even the address fits
}
