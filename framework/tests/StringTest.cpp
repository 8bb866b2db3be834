#include <gtest/gtest.h>

#include "CString.h"
#include "TestResources.h"

// Strings: copies, growth, search and case on code page 936 text, where the
// second byte of a character may look like '\\' or a letter.
TEST(FrameworkString, CopiesAreIndependentAndGrow)
{
    CString a("abc");
    CString b = a;
    b += "def";
    b += 'g';
    EXPECT_STREQ(a, "abc");
    EXPECT_STREQ(b, "abcdefg");
    EXPECT_EQ(b.GetLength(), 7);
    b = b; // self-assignment keeps the text
    EXPECT_STREQ(b, "abcdefg");
    b = b.Mid(2); // assignment from a part of itself
    EXPECT_STREQ(b, "cdefg");

    CString big;
    for (int i = 0; i < 1000; ++i)
        big += "xy";
    EXPECT_EQ(big.GetLength(), 2000);

    CString empty;
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_STREQ(empty, "");
    EXPECT_STREQ(CString((LPCSTR)NULL), "");
}

TEST(FrameworkString, SubstringsFormatAndBuffers)
{
    CString s("Hello, World");
    EXPECT_STREQ(s.Left(5), "Hello");
    EXPECT_STREQ(s.Right(5), "World");
    EXPECT_STREQ(s.Mid(7, 100), "World");
    EXPECT_STREQ(s.Mid(100), "");
    EXPECT_STREQ(s.Left(-1), "");

    CString f;
    f.Format("%s %d %05.1f", "n", -42, 3.14159);
    EXPECT_STREQ(f, "n -42 003.1");
    CString who("王"), line;
    line.Format("%s 对 %s 说:  %s", who, CString("李"), (LPCSTR) "你好");
    EXPECT_STREQ(line, "王 对 李 说:  你好") << "CString arguments are passed as their text";
    line.Format("%s", line); // its own text as argument
    EXPECT_STREQ(line, "王 对 李 说:  你好");

    CString buf;
    char* p = buf.GetBuffer(10);
    strcpy(p, "raw");
    buf.ReleaseBuffer();
    EXPECT_EQ(buf.GetLength(), 3);
    EXPECT_STREQ(buf, "raw");
    buf.GetBufferSetLength(-2); // a length computed from a failed call
    EXPECT_EQ(buf.GetLength(), 0);
    buf += "ok";
    EXPECT_STREQ(buf, "ok");

    CString r("a-b-c");
    EXPECT_EQ(r.Replace("-", "--"), 2);
    EXPECT_STREQ(r, "a--b--c");
    EXPECT_EQ(r.Remove('-'), 4);
    EXPECT_STREQ(r, "abc");
    r.Insert(1, "XY");
    EXPECT_STREQ(r, "aXYbc");
    r.Delete(1, 2);
    EXPECT_STREQ(r, "abc");
    CString t("  pad \t\r\n");
    t.TrimLeft();
    t.TrimRight();
    EXPECT_STREQ(t, "pad");
}

TEST(FrameworkString, ResourceTextsLoadWhole)
{
    // A table entry longer than any first guess at its length comes whole,
    // also through the formats read from the table.
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_LONG_TEXT));
    EXPECT_EQ(s.GetLength(), 1500);
    EXPECT_STREQ(s.Right(12), "890123456789");
    CString f;
    f.Format(IDS_LONG_TEXT);
    EXPECT_EQ(f.GetLength(), 1500);
    EXPECT_FALSE(s.LoadString(0xFFF0));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(FrameworkString, DoubleByteTextIsNeverSplit)
{
    // 0x81 0x5C is one character whose second byte equals '\\'; 0x81 0x61
    // one whose second byte equals 'a'.
    CString s("x\x81\x5C"
              "y\\z\x81\x61");
    EXPECT_EQ(s.Find('\\'), 4);
    EXPECT_EQ(s.ReverseFind('\\'), 4);
    EXPECT_EQ(s.FindOneOf("\\a"), 4);
    EXPECT_EQ(s.Find("\x5C"
                     "y"),
              -1)
        << "a match may not start on a second byte";
    EXPECT_EQ(s.Find("y\\"), 3);

    CString up(s);
    up.MakeUpper();
    EXPECT_STREQ(up, "X\x81\x5C"
                     "Y\\Z\x81\x61");

    CString rm(s);
    EXPECT_EQ(rm.Remove('\\'), 1);
    EXPECT_STREQ(rm, "x\x81\x5C"
                     "yz\x81\x61");

    CString rev("ab\x81\x61");
    rev.MakeReverse();
    EXPECT_STREQ(rev, "\x81\x61"
                      "ba");

    CString chinese("会议室");
    EXPECT_EQ(chinese.GetLength(), 6);
    EXPECT_EQ(chinese.Find("议"), 2);
}

TEST(FrameworkString, LivesOnTheSharedHeap)
{
    // Another module frees and grows what this one made: both use the
    // process heap, so the block must belong to it.
    CString s("shared text");
    const char* data = s;
    const void* block = data - 3 * sizeof(long);
    EXPECT_TRUE(HeapValidate(GetProcessHeap(), 0, block));
}
