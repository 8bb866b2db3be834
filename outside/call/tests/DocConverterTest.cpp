// The converter stand-in: what it turns into page files and what it refuses.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <string>

#include "CDocConverter.h"

namespace {

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + "call_test_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

void Write(const std::string& path, const std::string& bytes)
{
    FILE* f = fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), f);
    fclose(f);
}

std::string Read(const std::string& path)
{
    std::string bytes;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f)
        return bytes;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, f)) > 0)
        bytes.append(buffer, got);
    fclose(f);
    return bytes;
}

size_t Count(const std::string& text, const std::string& what)
{
    size_t n = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + "\r\n";
    return text;
}

} // namespace

TEST(DocConverter, TextBecomesPagesOfEscapedLines)
{
    struct Case
    {
        std::string text;
        size_t pages;
    } cases[] = {
        {"", 1}, {"one line", 1}, {Lines(50), 1}, {Lines(51), 2}, {Lines(120), 3},
    };
    for (const Case& c : cases) {
        const std::string page = CDocConverter::TextPages("t.txt", c.text);
        EXPECT_EQ(Count(page, "<div class=\"page\""), c.pages) << c.text.size();
        EXPECT_EQ(Count(page, "\r"), 0u);
    }
    // Markup in the text stays text; code page 936 bytes pass unchanged.
    const std::string page = CDocConverter::TextPages("<b>", "a<script>&\"\xC4\xE3\xBA\xC3");
    EXPECT_NE(page.find("a&lt;script&gt;&amp;&quot;\xC4\xE3\xBA\xC3"), std::string::npos);
    EXPECT_EQ(page.find("<script>"), std::string::npos);
    EXPECT_NE(page.find("<title>&lt;b&gt;</title>"), std::string::npos);
}

TEST(DocConverter, Base64MatchesKnownValues)
{
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},        {"f", "Zg=="},          {"fo", "Zm8="},
        {"foo", "Zm9v"}, {"foobar", "Zm9vYmFy"}, {std::string("\xFF\x00\x80", 3), "/wCA"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CDocConverter::Base64(c.first), c.second);
}

TEST(DocConverter, ConvertsWhatItKnowsAndRefusesTheRestWithoutOutput)
{
    const std::string bmp = "BM" + std::string(60, '\x01');
    struct Case
    {
        const char* name;
        const char* extension;
        std::string content;
        bool converted;
        const char* inPage; // converted: the page holds this
    } cases[] = {
        {"a.txt", ".txt", "hello <world>", true, "hello &lt;world&gt;"},
        {"a.bmp", ".bmp", bmp, true, "data:image/bmp;base64,Qk0BAQ"},
        {"a.gif", ".gif", "GIF89a....", true, "data:image/gif;base64,"},
        {"a.jpg", ".jpg", "\xFF\xD8\xFF\xE0....", true, "data:image/jpeg;base64,"},
        {"b.bmp", ".bmp", "not a picture at all", false, nullptr},
        {"c.jpeg", ".jpeg", "GIF89a", false, nullptr},
        {"a.doc", ".doc", "office bytes", false, nullptr},
        {"a.dwg", ".dwg", "drawing", false, nullptr},
    };
    for (const Case& c : cases) {
        const std::string source = TempPath(c.name);
        const std::string output = TempPath("out.htm");
        DeleteFileA(output.c_str());
        Write(source, c.content);
        std::string error;
        EXPECT_EQ(CDocConverter::Convert(c.extension, source, output, &error), c.converted)
            << c.name << ": " << error;
        const std::string page = Read(output);
        if (c.converted) {
            EXPECT_NE(page.find(c.inPage), std::string::npos) << c.name;
        } else {
            EXPECT_FALSE(error.empty()) << c.name;
            EXPECT_EQ(GetFileAttributesA(output.c_str()), INVALID_FILE_ATTRIBUTES) << c.name;
        }
        EXPECT_EQ(GetFileAttributesA((output + ".part").c_str()), INVALID_FILE_ATTRIBUTES);
        DeleteFileA(source.c_str());
        DeleteFileA(output.c_str());
    }
    std::string error;
    EXPECT_FALSE(
        CDocConverter::Convert(".txt", TempPath("missing.txt"), TempPath("o.htm"), &error));
    EXPECT_NE(error.find("cannot open"), std::string::npos);
}
