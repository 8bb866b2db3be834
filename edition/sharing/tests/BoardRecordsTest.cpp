#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BoardRecords.h"
#include "CQuilletBoard.h"

namespace {

typedef std::vector<uint8_t> Bytes;

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// What a run asked for, one line per record.
struct Log : IBoardRecordTarget
{
    std::vector<std::string> lines;
    void OnNavigate(uint32_t id, const uint8_t* p, size_t n) override
    {
        lines.push_back("navigate " + std::to_string(id) + " " +
                        std::string(reinterpret_cast<const char*>(p), n));
    }
    void OnOpenPage(uint32_t id, uint8_t flag, const std::string& title, const std::string& address,
                    const std::string& third) override
    {
        lines.push_back("open " + std::to_string(id) + " " + std::to_string(flag) + " [" + title +
                        "][" + address + "][" + third + "]");
    }
    void OnClosePage(uint32_t id) override { lines.push_back("close " + std::to_string(id)); }
    void OnActivatePage(uint32_t id) override { lines.push_back("activate " + std::to_string(id)); }
    void OnCloseAll() override { lines.push_back("close all"); }
};

const Bytes kOpen = CBoardRecords::OpenPage(0x01020304, 1, "Title", "http://h/p", "a|b");
const Bytes kActivate = CBoardRecords::PageRecord(BOARD_ACTIVATE_PAGE, 9);
const Bytes kNavigate = Bytes{0x10, 0, 0, 0, 5, 0, 0, 0, 3, 0, 0, 0} + Text("xyz");

} // namespace

TEST(BoardRecords, OpenPageLayoutHasTheTextsAfterASixteenByteHead)
{
    EXPECT_EQ(kOpen, (Bytes{0x11, 0, 0, 0, 4, 3, 2, 1, 1, 0, 5, 0, 10, 0, 3, 0} + Text("Title") +
                      Text("http://h/p") + Text("a|b")));
    // Without a third text the record ends after the address.
    const Bytes bare = CBoardRecords::OpenPage(7, 0, "T", "u", "");
    EXPECT_EQ(bare,
              (Bytes{0x11, 0, 0, 0, 7, 0, 0, 0, 0, 0, 1, 0, 1, 0, 0, 0} + Text("T") + Text("u")));
    EXPECT_EQ(CBoardRecords::PageRecord(BOARD_CLOSE_PAGE, 0x0A0B0C0D),
              (Bytes{0x12, 0, 0, 0, 0x0D, 0x0C, 0x0B, 0x0A}));
    EXPECT_EQ(CBoardRecords::CloseAll(), Bytes{0x14});
}

TEST(BoardRecords, RunsAreReadRecordByRecordAndStopAtAShortOrForeignOne)
{
    const Bytes longTitle = CBoardRecords::OpenPage(3, 2, std::string(260, 'x'), "http://a/", "t");
    struct Case
    {
        const char* what;
        Bytes run;
        std::vector<std::string> lines;
        size_t consumed;
    } cases[] = {
        {"every kind",
         kOpen + kActivate + kNavigate + CBoardRecords::PageRecord(BOARD_CLOSE_PAGE, 9) +
             CBoardRecords::CloseAll(),
         {"open 16909060 1 [Title][http://h/p][a|b]", "activate 9", "navigate 5 xyz", "close 9",
          "close all"},
         kOpen.size() + 8 + 15 + 8 + 1},
        {"a text of 260 bytes arrives empty",
         longTitle,
         {"open 3 2 [][http://a/][t]"},
         longTitle.size()},
        {"open page cut short", Bytes(kOpen.begin(), kOpen.end() - 1), {}, 0},
        {"open head cut short", Bytes(kOpen.begin(), kOpen.begin() + 12), {}, 0},
        {"navigate payload cut short",
         kActivate + Bytes(kNavigate.begin(), kNavigate.end() - 1),
         {"activate 9"},
         8},
        {"page record cut short",
         CBoardRecords::CloseAll() + Bytes{0x13, 0, 0, 0, 9},
         {"close all"},
         1},
        {"a whiteboard record ends the run",
         kActivate + Bytes{0x01, 0, 0} + kActivate,
         {"activate 9"},
         8},
        {"empty run", Bytes{}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Log log;
        EXPECT_EQ(CBoardRecords::ReadRun(c.run.data(), c.run.size(), log), c.consumed);
        EXPECT_EQ(log.lines, c.lines);
    }
}

namespace {

// The board's views as a list of pages.
struct FakeViews : IBoardViews
{
    struct Page
    {
        uint32_t id;
        int key;
        std::string title;
    };
    std::vector<Page> pages;
    std::vector<std::string> calls;
    bool createWorks = true;

    bool FindKey(int key, uint32_t* id) override
    {
        for (const Page& p : pages)
            if (p.key == key) {
                *id = p.id;
                return true;
            }
        return false;
    }
    int PageCount() override { return static_cast<int>(pages.size()); }
    void RemoveAll() override
    {
        pages.clear();
        calls.push_back("remove all");
    }
    bool CreateView(uint32_t id, int key, uint8_t, const std::string&) override
    {
        if (createWorks)
            pages.push_back({id, key, ""});
        return createWorks;
    }
    void AddTab(uint32_t, const std::string& title) override { pages.back().title = title; }
    void Activate(uint32_t) override { calls.push_back("activate"); }
    void Navigate(uint32_t, const std::string& address) override
    {
        calls.push_back("navigate " + address);
    }
};

struct BoardFixture
{
    FakeViews views;
    std::vector<Bytes> sent;
    bool presenting = true;
    CQuilletBoard board{views, [this](const Bytes& r) { sent.push_back(r); },
                        [this] { return presenting; }};

    std::vector<uint8_t> Kinds() const
    {
        std::vector<uint8_t> kinds;
        for (const Bytes& r : sent)
            kinds.push_back(r.empty() ? 0 : r[0]);
        return kinds;
    }
};

} // namespace

TEST(QuilletBoard, OpeningAPageReplacesTheShownOneAndAnnouncesIt)
{
    BoardFixture f;
    f.board.OpenPage(1, "http://h/one", "One", "", 1);
    f.board.OpenPage(2, "http://h/two", "Two", "x|y", 1);
    ASSERT_EQ(f.views.pages.size(), 1u) << "one tab remains";
    EXPECT_EQ(f.views.pages[0].title, "Two");
    EXPECT_EQ(f.Kinds(), (std::vector<uint8_t>{0x11, 0x13, 0x14, 0x11, 0x13}));
    // The first page's record has no third text.
    EXPECT_EQ(f.sent[0].size(), 16u + 3u + 12u);
    EXPECT_EQ(f.sent[0][14], 0);
    EXPECT_EQ(f.views.calls.back(), "navigate http://h/two");

    // A key with a view is only activated.
    f.sent.clear();
    f.board.OpenPage(2, "http://h/two", "Two", "", 1);
    EXPECT_EQ(f.Kinds(), std::vector<uint8_t>{0x13});
    EXPECT_EQ(f.views.pages.size(), 1u);
}

TEST(QuilletBoard, OnlyThePresenterAnnouncesOrClearsTheOthersBoards)
{
    BoardFixture f;
    f.presenting = false;
    f.board.OpenPage(1, "http://h/one", "One", "", 0);
    f.board.OpenPage(2, "http://h/two", "Two", "", 0);
    EXPECT_EQ(f.views.pages.size(), 1u);
    EXPECT_EQ(f.Kinds(), (std::vector<uint8_t>{0x13, 0x13}))
        << "no open-page and no close-all record";
    f.sent.clear();
    f.board.OpenPage(2, "http://h/two", "Two", "", 0);
    EXPECT_TRUE(f.sent.empty());
}

TEST(QuilletBoard, MissingTextsEmptyAddressAndAFailedViewOpenNothing)
{
    BoardFixture f;
    f.board.OpenPage(1, "http://h/", nullptr, "", 0);
    f.board.OpenPage(1, "http://h/", "T", nullptr, 0);
    f.board.OpenPage(1, nullptr, "T", "", 0);
    f.board.OpenPage(1, "", "T", "", 0);
    EXPECT_TRUE(f.sent.empty());
    EXPECT_TRUE(f.views.pages.empty());
    f.views.createWorks = false;
    f.board.OpenPage(1, "http://h/", "T", "", 0);
    EXPECT_TRUE(f.sent.empty());
    EXPECT_TRUE(f.views.calls.empty());
}
