#include <gtest/gtest.h>

#include "afx.h"

#include <vector>

// Archive round trips and the exact bytes of counts, class tags and object
// references, plus malformed archives refused without a crash.
int g_alive = 0;

class CTestLine : public CObject
{
    DECLARE_SERIAL(CTestLine)
public:
    CTestLine() { ++g_alive; }
    explicit CTestLine(DWORD id) : m_id(id) { ++g_alive; }
    ~CTestLine() { --g_alive; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << (BYTE)1 << m_id;
        else {
            BYTE type;
            ar >> type >> m_id;
        }
    }
    DWORD m_id = 0;
};
IMPLEMENT_SERIAL(CTestLine, CObject, 0)

class CTestText : public CTestLine
{
    DECLARE_SERIAL(CTestText)
public:
    CTestText() {}
    CTestText(DWORD id, LPCSTR text) : CTestLine(id), m_text(text) {}
    void Serialize(CArchive& ar) override
    {
        CTestLine::Serialize(ar);
        if (ar.IsStoring())
            ar << m_text;
        else
            ar >> m_text;
    }
    CString m_text;
};
IMPLEMENT_SERIAL(CTestText, CTestLine, 0)

class CTestVersioned : public CObject
{
    DECLARE_SERIAL(CTestVersioned)
};
IMPLEMENT_SERIAL(CTestVersioned, CObject, 2)

namespace {

std::vector<BYTE> Bytes(CMemFile& f)
{
    std::vector<BYTE> out(f.GetLength());
    f.SeekToBegin();
    f.Read(out.data(), (UINT)out.size());
    return out;
}

std::vector<BYTE> Cat(std::initializer_list<std::vector<BYTE>> parts)
{
    std::vector<BYTE> out;
    for (auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<BYTE> Str(const char* s) { return std::vector<BYTE>(s, s + strlen(s)); }

void DeleteAll(CObList& list)
{
    while (!list.IsEmpty())
        delete list.RemoveHead();
}

// Loads one object list from the bytes; the archive's error cause or -1.
int LoadList(const std::vector<BYTE>& bytes, CObList& out)
{
    CMemFile f((BYTE*)bytes.data(), (UINT)bytes.size());
    CArchive ar(&f, CArchive::load);
    try {
        out.Serialize(ar);
    } catch (CArchiveException* e) {
        int cause = e->m_cause;
        e->Delete();
        return cause;
    } catch (CException* e) {
        e->Delete();
        return 1000;
    }
    return -1;
}

} // namespace

TEST(FrameworkArchive, ObjectListsAcrossPagesShareOneIndexRun)
{
    CTestLine line1(0x11111111), line2(0x22222222);
    CTestText text(0x33333333, "hi");
    CObList page0, page1;
    page0.AddTail(&line1);
    page0.AddTail(&text);
    page1.AddTail(&line2);

    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        page0.Serialize(ar);
        page1.Serialize(ar);
    }
    auto expected = Cat({
        {0x02, 0x00}, // count 2
        {0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00},
        Str("CTestLine"),               // new class, index 1
        {0x01, 0x11, 0x11, 0x11, 0x11}, // the line, index 2
        {0xFF, 0xFF, 0x00, 0x00, 0x09, 0x00},
        Str("CTestText"), // new class, index 3
        {0x01, 0x33, 0x33, 0x33, 0x33, 0x02},
        Str("hi"),    // the text, index 4
        {0x01, 0x00}, // count 1
        {0x01, 0x80}, // known class 1
        {0x01, 0x22, 0x22, 0x22, 0x22},
    });
    EXPECT_EQ(Bytes(f), expected);

    // Read back in one archive.
    f.SeekToBegin();
    CObList in0, in1;
    {
        CArchive ar(&f, CArchive::load);
        in0.Serialize(ar);
        in1.Serialize(ar);
    }
    ASSERT_EQ(in0.GetCount(), 2);
    ASSERT_EQ(in1.GetCount(), 1);
    CObject* second = in0.GetTail();
    ASSERT_TRUE(second->IsKindOf(RUNTIME_CLASS(CTestText)));
    EXPECT_STREQ(((CTestText*)second)->m_text, "hi");
    EXPECT_TRUE(in1.GetHead()->IsKindOf(RUNTIME_CLASS(CTestLine)));
    EXPECT_FALSE(in1.GetHead()->IsKindOf(RUNTIME_CLASS(CTestText)));
    EXPECT_EQ(((CTestLine*)in1.GetHead())->m_id, 0x22222222u);
    DeleteAll(in0);
    DeleteAll(in1);
}

TEST(FrameworkArchive, CountsAndStringLengthsUseTheWideFormsAtTheirLimits)
{
    struct Case
    {
        DWORD count;
        std::vector<BYTE> bytes;
    } cases[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x10000, {0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        CMemFile f;
        {
            CArchive ar(&f, CArchive::store);
            ar.WriteCount(c.count);
        }
        EXPECT_EQ(Bytes(f), c.bytes) << c.count;
        f.SeekToBegin();
        CArchive ar(&f, CArchive::load);
        EXPECT_EQ(ar.ReadCount(0), c.count);
    }

    struct StrCase
    {
        int length;
        std::vector<BYTE> head;
    } strs[] = {
        {0, {0x00}},
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
    };
    for (const StrCase& c : strs) {
        CString s('q', c.length);
        CMemFile f;
        {
            CArchive ar(&f, CArchive::store);
            ar << s;
        }
        auto bytes = Bytes(f);
        ASSERT_EQ(bytes.size(), c.head.size() + c.length);
        EXPECT_EQ(std::vector<BYTE>(bytes.begin(), bytes.begin() + c.head.size()), c.head)
            << c.length;
        f.SeekToBegin();
        CArchive ar(&f, CArchive::load);
        CString back;
        ar >> back;
        EXPECT_EQ(back.GetLength(), c.length);
    }
}

TEST(FrameworkArchive, IndexesFrom0x7FFFUseTheLongClassTag)
{
    // 0x7FFE objects after the first class take indexes 2..0x7FFF; the
    // second class then gets 0x8000 and its reference needs the long form.
    const int kObjects = 0x7FFE;
    std::vector<CTestLine*> lines;
    CObList list;
    for (int i = 0; i < kObjects; ++i) {
        lines.push_back(new CTestLine(i));
        list.AddTail(lines.back());
    }
    CTestText t1(1, ""), t2(2, "");
    list.AddTail(&t1);
    list.AddTail(&t2);

    CMemFile f;
    {
        CArchive ar(&f, CArchive::store);
        list.Serialize(ar);
    }
    auto bytes = Bytes(f);
    // tail: new class CTestText (index 0x8000), t1 (0x8001), then t2's class
    // reference 0x7FFF + 0x80008000, then t2.
    std::vector<BYTE> tail =
        Cat({{0xFF, 0x7F, 0x00, 0x80, 0x00, 0x80}, {0x01, 0x02, 0, 0, 0, 0x00}});
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(std::vector<BYTE>(bytes.end() - tail.size(), bytes.end()), tail);

    f.SeekToBegin();
    CObList in;
    {
        CArchive ar(&f, CArchive::load);
        in.Serialize(ar);
    }
    ASSERT_EQ(in.GetCount(), kObjects + 2);
    EXPECT_TRUE(in.GetTail()->IsKindOf(RUNTIME_CLASS(CTestText)));
    EXPECT_EQ(((CTestLine*)in.GetTail())->m_id, 2u);
    DeleteAll(in);
    for (CTestLine* l : lines)
        delete l;
}

TEST(FrameworkArchive, MalformedArchivesAreRefused)
{
    const int before = g_alive;
    auto newClass = [](const char* name) {
        return Cat({{0xFF, 0xFF, 0x00, 0x00, (BYTE)strlen(name), 0x00}, Str(name)});
    };
    std::vector<BYTE> line = {0x01, 0xAA, 0xBB, 0xCC, 0xDD};
    struct Case
    {
        const char* what;
        std::vector<BYTE> bytes;
        int cause;
    } cases[] = {
        {"unknown class", Cat({{0x01, 0x00}, newClass("CNoSuchObj"), line}),
         CArchiveException::badClass},
        {"not serialisable", Cat({{0x01, 0x00}, newClass("CWnd"), line}),
         CArchiveException::badClass},
        {"wrong schema",
         Cat({{0x01, 0x00}, {0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00}, Str("CTestLine"), line}),
         CArchiveException::badSchema},
        {"schema of another class", Cat({{0x01, 0x00}, newClass("CTestVersioned")}),
         CArchiveException::badSchema},
        {"null object", {0x01, 0x00, 0x00, 0x00}, CArchiveException::badIndex},
        {"object repeated", Cat({{0x02, 0x00}, newClass("CTestLine"), line, {0x02, 0x00}}),
         CArchiveException::badIndex},
        {"class index unknown", {0x01, 0x00, 0x05, 0x80}, CArchiveException::badIndex},
        {"class index of an object", Cat({{0x02, 0x00}, newClass("CTestLine"), line, {0x02, 0x80}}),
         CArchiveException::badIndex},
        {"long index out of range",
         {0x01, 0x00, 0xFF, 0x7F, 0x00, 0x01, 0x00, 0x80},
         CArchiveException::badIndex},
        {"count beyond the data",
         {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40},
         CArchiveException::endOfFile},
        {"object cut short", Cat({{0x01, 0x00}, newClass("CTestLine"), {0x01, 0xAA}}),
         CArchiveException::endOfFile},
        {"class name cut short",
         {0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x20, 0x00, 'C'},
         CArchiveException::badClass},
        {"empty", {}, CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        CObList out;
        EXPECT_EQ(LoadList(c.bytes, out), c.cause) << c.what;
        DeleteAll(out);
        EXPECT_EQ(g_alive, before) << c.what << ": an object leaked";
    }

    // A count the remaining bytes cannot hold is refused before any element
    // is read: here eleven claimed, one present.
    CObList out;
    EXPECT_EQ(LoadList(Cat({{0x0B, 0x00}, newClass("CTestLine"), line}), out),
              CArchiveException::endOfFile);
    EXPECT_EQ(out.GetCount(), 0) << "nothing read for a count beyond the data";
    DeleteAll(out);
}

TEST(FrameworkArchive, RuntimeClassesWithoutCompilerTypeInformation)
{
    CObject* ob = CRuntimeClass::CreateObject("CTestText");
    ASSERT_NE(ob, nullptr);
    EXPECT_TRUE(ob->IsKindOf(RUNTIME_CLASS(CTestLine)));
    EXPECT_TRUE(ob->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_STREQ(ob->GetRuntimeClass()->m_lpszClassName, "CTestText");
    EXPECT_NE(DYNAMIC_DOWNCAST(CTestText, ob), nullptr);
    delete ob;
    EXPECT_EQ(CRuntimeClass::CreateObject("CNoSuchObj"), nullptr);
    EXPECT_EQ(CRuntimeClass::CreateObject("CException"), nullptr) << "not creatable";
}

TEST(FrameworkArchive, FileOpenFailureIsAResult)
{
    CFile f;
    CFileException e;
    EXPECT_FALSE(f.Open("Z:\\no\\such\\folder\\file.kqf", CFile::modeRead, &e));
    EXPECT_NE(e.m_cause, CFileException::none);

    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    strcat(path, "fw_archive_test.bin");
    ASSERT_TRUE(f.Open(path, CFile::modeCreate | CFile::modeWrite));
    {
        CArchive ar(&f, CArchive::store);
        ar << (DWORD)0x01020304 << CString("x");
    }
    f.Close();
    CFileStatus st;
    ASSERT_TRUE(CFile::GetStatus(path, st));
    EXPECT_EQ(st.m_size, 6);
    CFile::Remove(path);
}
