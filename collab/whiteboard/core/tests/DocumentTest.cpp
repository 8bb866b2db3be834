#include "CLineObj.h"
#include "CRectObj.h"
#include "CTextObj.h"
#include "CWBDocument.h"
#include "WbAllocCounter.h"
#include "WbTestHelpers.h"
#include "afx.h"

#include <gtest/gtest.h>
#include <stdio.h>
#include <string>

namespace {

void Append(std::vector<BYTE>& v, const char* hex)
{
    std::vector<BYTE> b = WbHex(hex);
    v.insert(v.end(), b.begin(), b.end());
}
void AppendText(std::vector<BYTE>& v, const char* s) { v.insert(v.end(), s, s + strlen(s)); }

// The document of two pages: page 0 a line and a text, page 1 a second
// line; page 0 has a 6-byte background "BGDATA", page 1 none. Written here
// from the file's layout, not by the code under test.
std::vector<BYTE> TwoPageFixture()
{
    std::vector<BYTE> f;
    AppendText(f, "KQDOC");
    Append(f, "02 00 00 00");
    // page 0: two objects
    Append(f, "02 00");
    Append(f, "ff ff 00 00 08 00");
    AppendText(f, "CLineObj");
    Append(f, "01 01 01 00 00 16 00 00 00");
    Append(f, "ff 00 00 00 00 02 0a 00 00 00 14 00 00 00 1e 00 00 00 28 00 00 00");
    Append(f, "ff ff 00 00 08 00");
    AppendText(f, "CTextObj");
    Append(f, "0a 02 02 00 00 54 00 00 00");
    Append(f, "00 00 00 00"); // colour
    Append(f, "f1 ff ff ff 00 00 00 00 00 00 00 00 00 00 00 00 90 01 00 00"
              " 00 00 00 00 00 00 00 30");
    AppendText(f, "Arial");
    f.insert(f.end(), 27, 0);
    Append(f, "02 00 01 00 00 00 02 00 00 00 33 00 00 00 16 00 00 00");
    AppendText(f, "Hi");
    // page 1: one line, its class by reference to index 1
    Append(f, "01 00");
    Append(f, "01 80");
    Append(f, "01 03 03 00 00 16 00 00 00");
    Append(f, "00 00 ff 00 01 01 00 00 00 00 00 00 00 00 05 00 00 00 05 00 00 00");
    // backgrounds
    Append(f, "06 00 00 00");
    AppendText(f, "BGDATA");
    Append(f, "00 00 00 00");
    return f;
}

std::string TestDir()
{
    char path[MAX_PATH];
    GetModuleFileNameA(NULL, path, MAX_PATH);
    std::string s(path);
    return s.substr(0, s.find_last_of('\\') + 1);
}

std::string WriteFile(const std::string& name, const std::vector<BYTE>& bytes)
{
    std::string path = TestDir() + name;
    FILE* f = fopen(path.c_str(), "wb");
    if (f) {
        if (!bytes.empty())
            fwrite(bytes.data(), 1, bytes.size(), f);
        fclose(f);
    }
    return path;
}

std::vector<BYTE> ReadFile(const std::string& path)
{
    std::vector<BYTE> out;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return out;
    int c;
    while ((c = fgetc(f)) != EOF)
        out.push_back((BYTE)c);
    fclose(f);
    return out;
}

// The fixture's document made through the model.
void FillTwoPages(CWBDocument& doc, const std::string& background)
{
    const char* files[2] = {NULL, NULL};
    ASSERT_TRUE(doc.CreateBlank(2, 0));
    doc.GetPage(0)->m_strBackground = background.c_str();
    CLineObj* line = new CLineObj(0x00000101);
    line->SetColor(RGB(255, 0, 0));
    line->SetWidth(2);
    line->OnLButtonDown(CPoint(10, 20));
    line->OnLButtonUp(CPoint(30, 40));
    EXPECT_TRUE(doc.AddObject(0, line));
    CTextObj* text = new CTextObj(0x00000202);
    text->SetFont(WbTestFont());
    text->SetText("Hi");
    text->SetRect(CRect(1, 2, 51, 22));
    EXPECT_TRUE(doc.AddObject(0, text));
    CLineObj* second = new CLineObj(0x00000303);
    second->SetColor(RGB(0, 0, 255));
    second->SetStyle(1);
    second->OnLButtonDown(CPoint(0, 0));
    second->OnLButtonUp(CPoint(5, 5));
    EXPECT_TRUE(doc.AddObject(1, second));
    (void)files;
}

} // namespace

TEST(WbDocumentFile, TwoPagesAreWrittenByteForByteAndReadBack)
{
    std::string background =
        WriteFile("wb_bg_fixture.bin", std::vector<BYTE>{'B', 'G', 'D', 'A', 'T', 'A'});
    std::string path = TestDir() + "wb_fixture_written.kqf";
    {
        CWBDocument doc;
        FillTwoPages(doc, background);
        ASSERT_TRUE(doc.Save(path.c_str()));
        EXPECT_STREQ(doc.GetPath(), path.c_str());
        doc.Clear();
    }
    EXPECT_EQ(WbToHex(ReadFile(path)), WbToHex(TwoPageFixture()));

    std::string fixture = WriteFile("wb_fixture.kqf", TwoPageFixture());
    CWBDocument doc;
    const char* files[1] = {fixture.c_str()};
    ASSERT_TRUE(doc.Create(1, files));
    ASSERT_EQ(doc.GetPageCount(), 2);
    EXPECT_EQ(doc.CountObjects(), 3);
    CDrawObj* text = doc.FindObject(0, 0x00000202);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text->GetText(), "Hi");
    EXPECT_EQ(text->GetType(), WB_TEXT);
    CDrawObj* second = doc.FindObject(1, 0x00000303);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->GetColor(), RGB(0, 0, 255));
    EXPECT_EQ(doc.CountBackgrounds(), 1);
    LPCTSTR paths[2] = {NULL, NULL};
    doc.GetBackgroundPaths(paths, 2);
    std::string restored = paths[0];
    EXPECT_EQ(restored.find(TestDir() + "temp\\"), 0u) << restored;
    EXPECT_EQ(restored.substr(restored.size() - 2), "_0") << "tick and page apart";
    EXPECT_EQ(ReadFile(restored), (std::vector<BYTE>{'B', 'G', 'D', 'A', 'T', 'A'}));
    EXPECT_STREQ(paths[1], "");
    SIZE size;
    doc.GetPageSize(&size);
    EXPECT_EQ(size.cx, 600) << "a background that is no picture leaves the size";
    EXPECT_EQ(doc.GetTotalBlobSize(), 22u + 84u + 22u);
    doc.Clear();
    EXPECT_EQ(doc.GetPageCount(), 0);
}

TEST(WbDocumentFile, BigCountsAndBigClassIndexesUseTheirLongForms)
{
    // 65536 lines on page 0 (a count of 0xFFFF and more), then on page 1
    // two rectangles: their class first appears at index 65538, so the
    // second rectangle's class reference needs the 32-bit form
    CWBDocument doc;
    ASSERT_TRUE(doc.CreateBlank(2, 0));
    for (DWORD i = 0; i < 0x10000; ++i) {
        CLineObj* line = new CLineObj(i);
        line->OnLButtonDown(CPoint(i & 0xFF, 0));
        line->OnLButtonUp(CPoint(0, 1));
        doc.AddObject(0, line);
    }
    for (DWORD i = 0; i < 2; ++i) {
        CRectObj* r = new CRectObj(0xAB00 + i);
        r->SetRect(CRect(0, 0, 10, 10));
        doc.AddObject(1, r);
    }
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        doc.Serialize(ar);
    }
    DWORD length = file.GetLength();
    BYTE* bytes = file.Detach();
    std::vector<BYTE> all(bytes, bytes + length);
    free(bytes);
    EXPECT_EQ(WbToHex(std::vector<BYTE>(all.begin() + 9, all.begin() + 15)), "ff ff 00 00 01 00");
    // per line: new class (6 + 8) once, then 0x8001 references, 9 + 22 each
    size_t page1 = 15 + 14 + 0x10000 * (9 + 22) + 0x10000 * 0 + (0x10000 - 1) * 2;
    ASSERT_GT(all.size(), page1 + 2);
    EXPECT_EQ(WbToHex(std::vector<BYTE>(all.begin() + page1, all.begin() + page1 + 2)), "02 00");
    size_t second = page1 + 2 + 6 + 8 + 9 + 22;
    EXPECT_EQ(WbToHex(std::vector<BYTE>(all.begin() + second, all.begin() + second + 6)),
              "ff 7f 02 00 01 80");

    CMemFile in(all.data(), (UINT)all.size());
    CWBDocument back;
    {
        CArchive ar(&in, CArchive::load);
        back.Serialize(ar);
    }
    EXPECT_EQ(back.GetPageCount(), 2);
    EXPECT_EQ(back.GetPage(0)->GetCount(), 0x10000);
    ASSERT_NE(back.FindObject(1, 0xAB01), nullptr);
    EXPECT_EQ(back.FindObject(1, 0xAB01)->GetType(), WB_RECT);
    in.Detach();
}

TEST(WbDocumentFile, MalformedFilesAreRefusedWithoutLeaks)
{
    const std::vector<BYTE> good = TwoPageFixture();
    std::string path = TestDir() + "wb_bad.kqf";
    auto refusedCleanly = [&](const std::vector<BYTE>& bytes, const char* name) {
        WriteFile("wb_bad.kqf", bytes);
        CWBDocument doc;
        long before = WbLiveAllocations();
        EXPECT_FALSE(doc.Open(path.c_str())) << name;
        EXPECT_EQ(doc.GetPageCount(), 0) << name;
        EXPECT_EQ(WbLiveAllocations(), before) << name << ": something read stayed allocated";
    };
    {
        // the first pass makes what a process makes once
        WriteFile("wb_bad.kqf", good);
        CWBDocument warm;
        EXPECT_TRUE(warm.Open(path.c_str()));
    }

    // every truncation that cuts into the objects or a background
    for (size_t n = 0; n < good.size(); ++n) {
        std::vector<BYTE> cut(good.begin(), good.begin() + n);
        refusedCleanly(cut, ("cut at " + std::to_string(n)).c_str());
    }

    struct Forgery
    {
        const char* name;
        size_t offset;
        const char* hex;
    };
    const size_t lineTag = 11, lineRecord = 25, textTag = 56, page1List = 11 + 14 + 31 + 14 + 93,
                 page1Ref = page1List + 2, background = page1Ref + 2 + 31;
    const Forgery forgeries[] = {
        {"magic", 0, "4b 51 44 4f 58"},
        {"page count beyond the file", 5, "ff ff ff 7f"},
        {"object count beyond the file", 9, "ff ff ff ff ff 00"},
        {"a null object", lineTag, "00 00"},
        {"an object read twice", page1Ref, "02 00"},
        {"a class index that is an object", page1Ref, "02 80"},
        {"a class index never seen", page1Ref, "09 80"},
        {"an unknown class", lineTag + 6, "43 46 6f 6f 4f 62 6a 20"}, // "CFooObj "
        {"a class that is no drawing", textTag, "ff ff 00 00 07 00 43 4f 62 4c 69 73 74"},
        {"a type code of another class", lineRecord, "03"},
        {"a schema of 1", lineTag + 2, "01 00"},
        {"a blob length beyond the file", lineRecord + 5, "ff ff ff 00"},
        {"a background beyond the file", background, "ff ff ff 0f"},
    };
    for (const Forgery& f : forgeries) {
        std::vector<BYTE> bad(good);
        std::vector<BYTE> patch = WbHex(f.hex);
        ASSERT_LE(f.offset + patch.size(), bad.size()) << f.name;
        std::copy(patch.begin(), patch.end(), bad.begin() + f.offset);
        refusedCleanly(bad, f.name);
    }
    // the offsets above point where they should: the unpatched file reads
    EXPECT_EQ(good[page1Ref], 0x01);
    EXPECT_EQ(good[page1Ref + 1], 0x80);
    EXPECT_EQ(good[lineRecord], 0x01);
    EXPECT_EQ(good[background], 0x06);
}

TEST(WbDocumentFile, EmptyDocumentsAndPageCountsOfZeroOrLess)
{
    std::string path = TestDir() + "wb_empty.kqf";
    CWBDocument empty;
    EXPECT_TRUE(empty.Save(path.c_str()));
    EXPECT_TRUE(ReadFile(path).empty());
    EXPECT_FALSE(empty.Open(path.c_str())) << "an empty file has no magic";
    EXPECT_FALSE(empty.Save(NULL));
    EXPECT_FALSE(empty.Open(NULL));
    EXPECT_FALSE(empty.Open((TestDir() + "no such file.kqf").c_str()));

    for (const char* count : {"00 00 00 00", "ff ff ff ff", "00 00 00 80"}) {
        std::vector<BYTE> f;
        AppendText(f, "KQDOC");
        Append(f, count);
        WriteFile("wb_empty.kqf", f);
        CWBDocument doc;
        EXPECT_TRUE(doc.Open(path.c_str())) << count;
        EXPECT_EQ(doc.GetPageCount(), 0);
    }
}

TEST(WbDocumentFile, ABackgroundOf100000BytesTravelsWhole)
{
    std::vector<BYTE> picture(100000);
    for (size_t i = 0; i < picture.size(); ++i)
        picture[i] = (BYTE)(i * 7 + (i >> 8));
    std::string bg = WriteFile("wb_big_bg.bin", picture);
    std::string path = TestDir() + "wb_big.kqf";
    CWBDocument doc;
    ASSERT_TRUE(doc.CreateBlank(1, 0));
    doc.GetPage(0)->m_strBackground = bg.c_str();
    ASSERT_TRUE(doc.Save(path.c_str()));
    std::vector<BYTE> file = ReadFile(path);
    ASSERT_EQ(file.size(), 5 + 4 + 2 + 4 + picture.size());
    CWBDocument back;
    ASSERT_TRUE(back.Open(path.c_str()));
    EXPECT_EQ(ReadFile((LPCSTR)back.GetPage(0)->m_strBackground), picture);
}

TEST(WbDocument, CreatePagesObjectsAndNames)
{
    // a .kqf first file in upper case opens that document
    std::string fixture = WriteFile("WB_UPPER.KQF", TwoPageFixture());
    CWBDocument doc;
    const char* kqf[3] = {fixture.c_str(), NULL, NULL};
    EXPECT_TRUE(doc.Create(3, kqf));
    EXPECT_EQ(doc.GetPageCount(), 2);

    // a first file that is no picture: FALSE, the pages stay, empty
    std::string notPicture = WriteFile("wb_not_picture.bmp", std::vector<BYTE>{1, 2, 3});
    const char* bad[2] = {notPicture.c_str(), NULL};
    EXPECT_FALSE(doc.Create(2, bad));
    EXPECT_EQ(doc.GetPageCount(), 2);
    EXPECT_EQ(doc.CountObjects(), 0);
    EXPECT_EQ(doc.CountBackgrounds(), 0);

    // a 30 x 20 bitmap sets the page size
    std::vector<BYTE> bmp(54 + 30 * 20 * 3 + 20 * 2, 0xFF);
    BITMAPFILEHEADER fh = {0x4D42, (DWORD)bmp.size(), 0, 0, 54};
    BITMAPINFOHEADER ih = {sizeof(ih), 30, 20, 1, 24, BI_RGB, 0, 2835, 2835, 0, 0};
    memcpy(bmp.data(), &fh, sizeof fh);
    memcpy(bmp.data() + sizeof fh, &ih, sizeof ih);
    std::string picture = WriteFile("wb_picture.bmp", bmp);
    const char* pics[2] = {picture.c_str(), picture.c_str()};
    EXPECT_TRUE(doc.Create(2, pics));
    SIZE size;
    doc.GetPageSize(&size);
    EXPECT_EQ(size.cx, 30);
    EXPECT_EQ(size.cy, 20);
    EXPECT_EQ(doc.CountBackgrounds(), 2);

    EXPECT_EQ(CWBDocument::GetExtension("a.b\\c.KqF"), "kqf");
    EXPECT_EQ(CWBDocument::GetExtension("none"), "");

    // blank pages with background names that tell tick and page apart
    ASSERT_TRUE(doc.CreateBlank(13, 13));
    LPCTSTR names[13];
    doc.GetBackgroundPaths(names, 13);
    std::string n1 = names[1], n12 = names[12];
    EXPECT_EQ(n1.substr(n1.size() - 2), "_1");
    EXPECT_EQ(n12.substr(n12.size() - 3), "_12");
    EXPECT_EQ(CWBDocument::BackgroundName("t\\", 51, 2), "t\\51_2");
    EXPECT_NE(CWBDocument::BackgroundName("", 51, 2), CWBDocument::BackgroundName("", 5, 12));
    // documents made at once (a board history) never share page files
    CWBDocument next;
    ASSERT_TRUE(next.CreateBlank(2, 2));
    LPCTSTR nextNames[2];
    next.GetBackgroundPaths(nextNames, 2);
    EXPECT_STRNE(names[1], nextNames[1]);

    // objects: a bad page keeps nothing; a shared id removes the first only
    CLineObj* a = new CLineObj(7);
    CLineObj* b = new CLineObj(7);
    CLineObj stray(8);
    EXPECT_FALSE(doc.AddObject(13, &stray));
    EXPECT_FALSE(doc.AddObject(-1, &stray));
    EXPECT_TRUE(doc.AddObject(2, a));
    EXPECT_TRUE(doc.AddObject(2, b));
    EXPECT_EQ(doc.RemoveObject(2, 7), a);
    EXPECT_EQ(doc.FindObject(2, 7), b);
    EXPECT_EQ(doc.RemoveObject(3, 7), nullptr);
    EXPECT_EQ(doc.RemoveObject(99, 7), nullptr);
    delete a;
    EXPECT_EQ(doc.GetPage(13), nullptr);

    // ids differ call by call
    DWORD id1 = CWBDocument::NewObjectId(), id2 = CWBDocument::NewObjectId();
    EXPECT_NE(id1, id2);
}
