#include "CLineObj.h"
#include "CRectObj.h"
#include "CWBChange.h"
#include "WbAllocCounter.h"
#include "WbTestHelpers.h"

#include <gtest/gtest.h>

namespace {
CLineObj* MakeLine(DWORD id, int x)
{
    CLineObj* line = new CLineObj(id);
    line->OnLButtonDown(CPoint(x, 0));
    line->OnLButtonUp(CPoint(x + 10, 10));
    return line;
}
} // namespace

TEST(WbChange, RecordsAreLaidOutByteForByte)
{
    std::vector<BYTE> rec;
    CLineObj* line = MakeLine(0x01020304, 5);
    ASSERT_TRUE(CWBChange::BuildAdd(rec, 2, line));
    EXPECT_EQ(WbToHex(std::vector<BYTE>(rec.begin(), rec.begin() + 15)),
              "01 01 00 00 00 1e 00 02 01 04 03 02 01 16 00");
    EXPECT_EQ(rec.size(), 7u + 8u + 22u);

    const DWORD ids[2] = {0x11, 0x22};
    ASSERT_TRUE(CWBChange::BuildDelete(rec, 1, ids, 2));
    EXPECT_EQ(WbToHex(rec), "02 01 02 00 11 00 00 00 22 00 00 00");
    ASSERT_TRUE(CWBChange::BuildMove(rec, 3, CSize(-1, 2), ids, 1));
    EXPECT_EQ(WbToHex(rec), "03 03 ff ff ff ff 02 00 00 00 01 00 11 00 00 00");
    ASSERT_TRUE(CWBChange::BuildResize(rec, 0, 0x22, 7, CSize(5, -6)));
    EXPECT_EQ(WbToHex(rec), "04 00 22 00 00 00 07 00 05 00 00 00 fa ff ff ff");

    // nothing to say, or a page beyond one byte: no record
    EXPECT_FALSE(CWBChange::BuildDelete(rec, 1, ids, 0));
    EXPECT_FALSE(CWBChange::BuildAdd(rec, 256, line));
    CWBChange::BeginAdd(rec);
    EXPECT_FALSE(CWBChange::EndAdd(rec, 0));
    CLineObj empty(9);
    EXPECT_FALSE(CWBChange::BuildAdd(rec, 0, &empty)) << "an object without points has no blob";
    delete line;
}

TEST(WbChange, ReceivedRecordsChangeTheRightPage)
{
    CWBDocument doc;
    ASSERT_TRUE(doc.CreateBlank(3, 0));
    std::vector<BYTE> rec;
    CWBChange::Result result;

    // two objects in one add record: one for page 0 (current), one for page 2
    CLineObj* a = MakeLine(1, 0);
    CLineObj* b = MakeLine(2, 100);
    CWBChange::BeginAdd(rec);
    ASSERT_TRUE(CWBChange::AppendAddItem(rec, 0, a));
    ASSERT_TRUE(CWBChange::AppendAddItem(rec, 2, b));
    ASSERT_TRUE(CWBChange::EndAdd(rec, 2));
    delete a;
    delete b;
    ASSERT_TRUE(CWBChange::Apply(doc, rec.data(), (UINT)rec.size(), 0, result));
    EXPECT_EQ(doc.GetPage(0)->GetCount(), 1);
    EXPECT_EQ(doc.GetPage(2)->GetCount(), 1);
    EXPECT_TRUE(result.touchedCurrent);
    EXPECT_EQ(result.redraw, CRect(-11, -11, 21, 21)) << "only the current page's object";

    // for a page other than the current one: changed, nothing to redraw
    ASSERT_TRUE(CWBChange::BuildMove(rec, 2, CSize(5, 5), std::vector<DWORD>{2, 99}.data(), 2));
    ASSERT_TRUE(CWBChange::Apply(doc, rec.data(), (UINT)rec.size(), 0, result));
    EXPECT_FALSE(result.touchedCurrent);
    EXPECT_EQ(doc.FindObject(2, 2)->GetPoints()[0].x, 105);

    ASSERT_TRUE(CWBChange::BuildResize(rec, 2, 2, 1, CSize(0, 7)));
    ASSERT_TRUE(CWBChange::Apply(doc, rec.data(), (UINT)rec.size(), 2, result));
    EXPECT_EQ(doc.FindObject(2, 2)->GetPoints()[1].y, 22);
    EXPECT_TRUE(result.touchedCurrent);

    // deleting ids not there changes nothing; a found one is reported first
    DWORD missing = 77;
    ASSERT_TRUE(CWBChange::BuildDelete(rec, 0, &missing, 1));
    ASSERT_TRUE(CWBChange::Apply(doc, rec.data(), (UINT)rec.size(), 0, result));
    EXPECT_FALSE(result.touchedCurrent);
    EXPECT_EQ(doc.CountObjects(), 2);
    DWORD one = 1;
    CDrawObj* seen = nullptr;
    ASSERT_TRUE(CWBChange::BuildDelete(rec, 0, &one, 1));
    ASSERT_TRUE(CWBChange::Apply(doc, rec.data(), (UINT)rec.size(), 0, result,
                                 [&](CDrawObj* o) { seen = o; }));
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(doc.GetPage(0)->GetCount(), 0);
}

TEST(WbChange, MalformedRecordsAreIgnoredWholeAndLeakNothing)
{
    CWBDocument doc;
    ASSERT_TRUE(doc.CreateBlank(1, 0));
    std::vector<BYTE> good;
    CLineObj* line = MakeLine(5, 0);
    ASSERT_TRUE(CWBChange::BuildAdd(good, 0, line));
    delete line;
    CWBChange::Result result;
    CWBChange::Apply(doc, good.data(), (UINT)good.size(), 0,
                     result); // what a first pass makes once
    doc.CreateBlank(1, 0);

    struct Row
    {
        const char* name;
        std::vector<BYTE> rec;
        bool accepted;
        int objects;
    };
    std::vector<BYTE> longer(good);
    longer.push_back(0);
    std::vector<BYTE> badPage(good);
    badPage[7] = 4; // a page the document does not have
    std::vector<BYTE> countTooBig(good);
    countTooBig[1] = 0xFF; // 255 items said, one there: the one is taken
    std::vector<BYTE> blobPastEnd(good);
    blobPastEnd[13] = 0x40; // the item's blob runs past the record
    std::vector<BYTE> unknownType(good);
    unknownType[8] = 14;
    const Row rows[] = {
        {"n disagrees with the length", longer, false, 0},
        {"the head alone", std::vector<BYTE>(good.begin(), good.begin() + 7), false, 0},
        {"an item for a page not there", badPage, true, 0},
        {"more items said than there are", countTooBig, true, 1},
        {"a blob past the end", blobPastEnd, true, 0},
        {"an unknown type code", unknownType, true, 0},
        {"delete of a wrong length", WbHex("02 00 02 00 01 00 00 00"), false, 0},
        {"move of a wrong length", WbHex("03 00 00 00 00 00 00 00 00 00 01 00"), false, 0},
        {"resize of 15 bytes", WbHex("04 00 05 00 00 00 01 00 00 00 00 00 00 00 00"), false, 0},
        {"an unknown action", WbHex("09 00 00 00"), false, 0},
        {"nothing", std::vector<BYTE>(), false, 0},
    };
    for (const Row& r : rows) {
        CWBDocument target;
        ASSERT_TRUE(target.CreateBlank(1, 0));
        long before = WbLiveAllocations();
        EXPECT_EQ(CWBChange::Apply(target, r.rec.data(), (UINT)r.rec.size(), 0, result) != FALSE,
                  r.accepted)
            << r.name;
        EXPECT_EQ(target.CountObjects(), r.objects) << r.name;
        target.GetPage(0)->DeleteAll();
        EXPECT_EQ(WbLiveAllocations(), before) << r.name;
    }
}
