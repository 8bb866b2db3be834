#include "CArrowObj.h"
#include "CEllipseObj.h"
#include "CEllipsefillObj.h"
#include "CIconObj.h"
#include "CLineObj.h"
#include "CPenObj.h"
#include "CPencilObj.h"
#include "CPolyObj.h"
#include "CRectObj.h"
#include "CRectfillObj.h"
#include "CRoundrectObj.h"
#include "CRoundrectfillObj.h"
#include "CTextObj.h"
#include "WbTestHelpers.h"
#include "afx.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// One object of every kind with every field it carries set apart from the
// defaults.
std::unique_ptr<CDrawObj> MakeSample(int type)
{
    std::unique_ptr<CDrawObj> obj(CDrawObj::CreateByType(type, 0x11223344));
    obj->SetColor(RGB(0x12, 0x34, 0x56));
    obj->SetStyle(2);
    obj->SetWidth(3);
    obj->SetFill(5);
    switch (type) {
    case WB_LINE:
    case WB_ARROW:
        obj->OnLButtonDown(CPoint(-10, 20));
        obj->OnLButtonUp(CPoint(300, 400));
        break;
    case WB_POLY:
    case WB_PEN:
        obj->OnLButtonDown(CPoint(1, 2));
        obj->OnLButtonDown(CPoint(50, 2));
        obj->OnLButtonDown(CPoint(50, 70));
        obj->OnRButtonDown(CPoint(50, 70));
        break;
    case WB_PENCIL:
        obj->OnLButtonDown(CPoint(0, 0));
        obj->OnMouseMove(CPoint(10, 0));
        obj->OnMouseMove(CPoint(20, 5));
        obj->OnLButtonUp(CPoint(30, 9));
        break;
    case WB_TEXT:
        obj->SetFont(WbTestFont());
        obj->SetText("hello");
        obj->SetRect(CRect(5, 6, 105, 46));
        break;
    case WB_ICON:
        static_cast<CIconObj*>(obj.get())->SetIcon(136, CPoint(7, -8));
        break;
    default:
        obj->OnLButtonDown(CPoint(200, 150));
        obj->OnLButtonUp(CPoint(10, 20));
        break;
    }
    return obj;
}

struct KindRow
{
    int type;
    const char* className;
    UINT blobSize;
};
const KindRow kKinds[] = {
    {WB_LINE, "CLineObj", 22},           {WB_ARROW, "CArrowObj", 22},
    {WB_RECT, "CRectObj", 22},           {WB_RECTFILL, "CRectfillObj", 21},
    {WB_ROUNDRECT, "CRoundrectObj", 22}, {WB_ROUNDRECTFILL, "CRoundrectfillObj", 21},
    {WB_ELLIPSE, "CEllipseObj", 22},     {WB_ELLIPSEFILL, "CEllipsefillObj", 21},
    {WB_POLY, "CPolyObj", 10 + 8 * 3},   {WB_TEXT, "CTextObj", 82 + 5},
    {WB_PEN, "CPenObj", 10 + 8 * 3},     {WB_PENCIL, "CPencilObj", 10 + 8 * 3},
    {WB_ICON, "CIconObj", 12},
};

} // namespace

TEST(WbObjects, EveryKindRoundTripsThroughItsBlobAndItsArchiveForm)
{
    for (const KindRow& k : kKinds) {
        SCOPED_TRACE(k.className);
        std::unique_ptr<CDrawObj> obj = MakeSample(k.type);
        EXPECT_EQ(obj->GetType(), k.type);
        EXPECT_STREQ(obj->GetRuntimeClass()->m_lpszClassName, k.className);
        EXPECT_EQ(obj->Pack(NULL, 0), k.blobSize);
        std::vector<BYTE> blob = WbPack(*obj);
        ASSERT_EQ(blob.size(), k.blobSize);
        std::vector<BYTE> shorter(k.blobSize - 1);
        EXPECT_EQ(obj->Pack(shorter.data(), (UINT)shorter.size()), 0u)
            << "a short buffer gets nothing";

        // the wire form
        std::unique_ptr<CDrawObj> copy(CDrawObj::CreateByType(k.type, 0x11223344));
        copy->Unpack(blob.data(), (UINT)blob.size());
        EXPECT_EQ(WbToHex(WbPack(*copy)), WbToHex(blob));
        CRect a, b;
        obj->GetBoundRect(&a);
        copy->GetBoundRect(&b);
        EXPECT_EQ(a, b);
        EXPECT_STREQ(copy->GetText(), obj->GetText());

        // the archive form: class reference, type code, id, length, blob
        CMemFile file;
        {
            CArchive ar(&file, CArchive::store);
            ar << (CObject*)obj.get();
        }
        file.SeekToBegin();
        CArchive in(&file, CArchive::load);
        CObject* read = in.ReadObject(RUNTIME_CLASS(CDrawObj));
        ASSERT_NE(read, nullptr);
        std::unique_ptr<CDrawObj> loaded(static_cast<CDrawObj*>(read));
        EXPECT_EQ(loaded->GetId(), 0x11223344u);
        EXPECT_EQ(loaded->GetType(), k.type);
        EXPECT_EQ(WbToHex(WbPack(*loaded)), WbToHex(blob));
        size_t nameLen = strlen(k.className);
        EXPECT_EQ(file.GetLength(), 2 + 2 + 2 + nameLen + 1 + 4 + 4 + k.blobSize);
    }
}

TEST(WbObjects, BlobsAreLaidOutByteForByte)
{
    struct Row
    {
        int type;
        const char* hex;
    };
    const Row rows[] = {
        // colour 0x00563412, style 2, width 3, (-10, 20) to (300, 400)
        {WB_LINE, "12 34 56 00 02 03 f6 ff ff ff 14 00 00 00 2c 01 00 00 90 01 00 00"},
        // drawn from (200, 150) to (10, 20): stored normalised
        {WB_RECT, "12 34 56 00 02 03 0a 00 00 00 14 00 00 00 c8 00 00 00 96 00 00 00"},
        // colour, fill 5, corners
        {WB_ELLIPSEFILL, "12 34 56 00 05 0a 00 00 00 14 00 00 00 c8 00 00 00 96 00 00 00"},
        {WB_POLY, "12 34 56 00 02 03 03 00 00 00 01 00 00 00 02 00 00 00 32 00 00 00 02 00 00 00"
                  " 32 00 00 00 46 00 00 00"},
        {WB_ICON, "88 00 00 00 07 00 00 00 f8 ff ff ff"},
    };
    for (const Row& r : rows) {
        std::unique_ptr<CDrawObj> obj = MakeSample(r.type);
        EXPECT_EQ(WbToHex(WbPack(*obj)), r.hex) << r.type;
    }

    // the text: colour, the 60-byte font, length, corners, the bytes
    std::unique_ptr<CDrawObj> text = MakeSample(WB_TEXT);
    std::vector<BYTE> blob = WbPack(*text);
    ASSERT_EQ(blob.size(), 87u);
    EXPECT_EQ(WbToHex(std::vector<BYTE>(blob.begin(), blob.begin() + 4)), "12 34 56 00");
    EXPECT_EQ(WbToHex(std::vector<BYTE>(blob.begin() + 4, blob.begin() + 8)),
              "f1 ff ff ff"); // lfHeight -15
    EXPECT_EQ(blob[4 + 27], 0x30) << "pitch and family";
    EXPECT_STREQ((const char*)&blob[4 + 28], "Arial");
    EXPECT_EQ(WbToHex(std::vector<BYTE>(blob.begin() + 64, blob.end())),
              "05 00 05 00 00 00 06 00 00 00 69 00 00 00 2e 00 00 00 68 65 6c 6c 6f");
}

TEST(WbObjects, BlobsOfTheWrongLengthChangeNothingOrOnlyTheStyle)
{
    // lines and rectangle kinds: the exact length or nothing
    std::unique_ptr<CDrawObj> line = MakeSample(WB_LINE);
    std::vector<BYTE> good = WbPack(*line);
    for (int delta : {-1, 1}) {
        std::vector<BYTE> bad(good);
        bad.resize(good.size() + delta, 0);
        bad[0] = 0x77;
        CLineObj target(1);
        target.Unpack(bad.data(), (UINT)bad.size());
        EXPECT_EQ(target.GetPointCount(), 0u);
        EXPECT_EQ(target.GetColor(), 0u);
    }
    CRectfillObj fill(1);
    std::unique_ptr<CDrawObj> hollow = MakeSample(WB_RECT);
    std::vector<BYTE> hollowBlob = WbPack(*hollow);
    fill.Unpack(hollowBlob.data(), (UINT)hollowBlob.size());
    EXPECT_EQ(fill.GetPointCount(), 0u) << "a hollow blob is not a filled one";

    // point lists: one byte too many keeps the points, takes the style
    std::unique_ptr<CDrawObj> poly = MakeSample(WB_POLY);
    std::vector<BYTE> polyBlob = WbPack(*poly);
    polyBlob.push_back(0);
    CPolyObj target(2);
    target.Unpack(polyBlob.data(), (UINT)polyBlob.size());
    EXPECT_EQ(target.GetColor(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(target.GetWidth(), 3);
    EXPECT_EQ(target.GetPointCount(), 0u);

    // a forged count whose byte size wraps 32 bits to the length at hand
    BYTE forged[18] = {1, 0, 0, 0, 0, 1};
    DWORD n = 0x20000001; // 10 + 8 n == 18 modulo 2^32
    memcpy(forged + 6, &n, 4);
    CPencilObj pencil(3);
    pencil.Unpack(forged, sizeof forged);
    EXPECT_EQ(pencil.GetPointCount(), 0u);
    pencil.Unpack(forged, 9);
    EXPECT_EQ(pencil.GetColor(), 1u);

    // texts: the style at once, the text only when the length fits
    std::unique_ptr<CDrawObj> text = MakeSample(WB_TEXT);
    std::vector<BYTE> textBlob = WbPack(*text);
    CTextObj keeper(4);
    keeper.SetText("old");
    std::vector<BYTE> longer(textBlob);
    longer.push_back('!');
    keeper.Unpack(longer.data(), (UINT)longer.size());
    EXPECT_STREQ(keeper.GetText(), "old");
    EXPECT_EQ(keeper.GetColor(), RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(keeper.GetPointCount(), 8u);

    // a blob of 260 bytes or more keeps the previous text
    std::vector<BYTE> big(82 + 178, 'x');
    memcpy(big.data(), textBlob.data(), 82);
    big[64] = 178;
    big[65] = 0;
    keeper.Unpack(big.data(), (UINT)big.size());
    EXPECT_STREQ(keeper.GetText(), "old");
    big.resize(82 + 177);
    big[64] = 177;
    keeper.Unpack(big.data(), (UINT)big.size());
    EXPECT_EQ(strlen(keeper.GetText()), 177u);

    // a face name without a terminator ends inside the font
    std::vector<BYTE> noEnd(textBlob);
    memset(&noEnd[4 + 28], 'A', 32);
    keeper.Unpack(noEnd.data(), (UINT)noEnd.size());
    LOGFONT lf;
    keeper.GetFont(&lf);
    EXPECT_EQ(strlen(lf.lfFaceName), 31u);

    BYTE tiny[81] = {9};
    keeper.Unpack(tiny, sizeof tiny);
    EXPECT_EQ(keeper.GetColor(), RGB(0x12, 0x34, 0x56)) << "shorter than the head: nothing";
    keeper.Unpack(NULL, 100);
}

TEST(WbObjects, ArchiveFormOfAnObjectWithoutPointsAndOfAForeignTypeCode)
{
    CMemFile file;
    CLineObj empty(0xABCDEF01);
    {
        CArchive ar(&file, CArchive::store);
        empty.Serialize(ar);
    }
    BYTE* bytes = file.Detach();
    EXPECT_EQ(WbToHex(std::vector<BYTE>(bytes, bytes + 9)), "01 01 ef cd ab 00 00 00 00");
    CMemFile in(bytes, 9);
    {
        CArchive ar(&in, CArchive::load);
        CLineObj back(0);
        back.Serialize(ar);
        EXPECT_EQ(back.GetId(), 0xABCDEF01u);
        EXPECT_EQ(back.GetPointCount(), 0u);
    }
    // a rectangle's record read by a line: refused
    in.SeekToBegin();
    bytes[0] = WB_RECT;
    {
        CArchive ar(&in, CArchive::load);
        CLineObj back(0);
        bool refused = false;
        try {
            back.Serialize(ar);
        } catch (CArchiveException* e) {
            refused = true;
            e->Delete();
        }
        EXPECT_TRUE(refused);
    }
    in.Close();
    free(bytes);
}

TEST(WbObjects, TextsKeepWhatAPeerCanTakeOver)
{
    CTextObj text(1);
    std::string longText(300, 'a');
    text.SetText(longText.c_str());
    EXPECT_EQ(strlen(text.GetText()), 177u);
    // a double-byte character across the limit is left out whole
    std::string dbcs(176, 'a');
    dbcs += "\xc4\xe3"; // one GBK character
    text.SetText(dbcs.c_str());
    EXPECT_EQ(strlen(text.GetText()), 176u);
    text.SetText(NULL);
    EXPECT_STREQ(text.GetText(), "");
}
