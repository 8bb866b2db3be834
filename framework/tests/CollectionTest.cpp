#include <gtest/gtest.h>

#include "afxtempl.h"

TEST(FrameworkCollections, ListsKeepOrderAndPositions)
{
    CStringList list;
    list.AddTail("b");
    list.AddHead("a");
    POSITION c = list.AddTail("c");
    list.InsertBefore(c, "b2");
    list.InsertAfter(list.GetHeadPosition(), "a2");
    std::string seen;
    for (POSITION p = list.GetHeadPosition(); p;)
        seen += std::string(list.GetNext(p)) + ",";
    EXPECT_EQ(seen, "a,a2,b,b2,c,");
    EXPECT_EQ(list.GetCount(), 5);
    POSITION found = list.Find("b2");
    ASSERT_NE(found, nullptr);
    list.RemoveAt(found);
    EXPECT_EQ(list.Find("b2"), nullptr);
    EXPECT_STREQ(list.RemoveHead(), "a");
    EXPECT_STREQ(list.RemoveTail(), "c");
    EXPECT_STREQ(list.GetAt(list.FindIndex(1)), "b");
    EXPECT_EQ(list.FindIndex(5), nullptr);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

TEST(FrameworkCollections, ArraysGrowInsertAndRemove)
{
    CArray<int, int> a;
    for (int i = 0; i < 100; ++i)
        a.Add(i);
    a.InsertAt(0, -1, 2);
    a.RemoveAt(50, 10);
    EXPECT_EQ(a.GetSize(), 92);
    EXPECT_EQ(a[0], -1);
    EXPECT_EQ(a[2], 0);
    EXPECT_EQ(a[50], 58);
    a.SetAtGrow(200, 7);
    EXPECT_EQ(a.GetSize(), 201);
    EXPECT_EQ(a[199], 0);
    a.RemoveAt(500); // out of range: nothing happens
    EXPECT_EQ(a.GetSize(), 201);

    CStringArray s;
    s.Add("x");
    s.Add(CString("y"));
    s.SetAtGrow(3, "z");
    EXPECT_STREQ(s[3], "z");
    EXPECT_STREQ(s[2], "");
    CPtrArray p;
    p.Add(&s);
    EXPECT_EQ(p[0], &s);
}

TEST(FrameworkCollections, MapsLookUpIterateAndRemove)
{
    CMapStringToPtr m;
    int one = 1, two = 2;
    m.SetAt("one", &one);
    m["two"] = &two;
    void* v = NULL;
    EXPECT_TRUE(m.Lookup("one", v));
    EXPECT_EQ(v, &one);
    EXPECT_FALSE(m.Lookup("three", v));
    int n = 0;
    for (POSITION p = m.GetStartPosition(); p;) {
        CString key;
        m.GetNextAssoc(p, key, v);
        ++n;
    }
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(m.RemoveKey("one"));
    EXPECT_FALSE(m.RemoveKey("one"));
    EXPECT_EQ(m.GetCount(), 1);

    CMap<DWORD, DWORD, CString, LPCSTR> ids;
    for (DWORD i = 0; i < 500; ++i) {
        CString s;
        s.Format("%lu", i);
        ids.SetAt(i * 7919, s);
    }
    CString got;
    EXPECT_TRUE(ids.Lookup(499 * 7919, got));
    EXPECT_STREQ(got, "499");
    int count = 0;
    for (POSITION p = ids.GetStartPosition(); p;) {
        DWORD k;
        ids.GetNextAssoc(p, k, got);
        ++count;
    }
    EXPECT_EQ(count, 500);

    CTypedPtrMap<CMapWordToPtr, WORD, CString*> typed;
    CString hello("hello");
    typed.SetAt(5, &hello);
    CString* hp = NULL;
    EXPECT_TRUE(typed.Lookup(5, hp));
    EXPECT_EQ(hp, &hello);
}
