#include "CDocConverter.h"

#include <windows.h>

#include <cstdio>

namespace {

bool ReadWhole(const std::string& path, std::string* bytes, std::string* error)
{
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) {
        *error = "cannot open the source " + path;
        return false;
    }
    bytes->clear();
    char buffer[65536];
    size_t got = 0;
    bool ok = true;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
        if (bytes->size() + got > CDocConverter::MAX_SOURCE_BYTES) {
            *error = "the source is larger than 16 MiB";
            ok = false;
            break;
        }
        bytes->append(buffer, got);
    }
    if (ok && ferror(file)) {
        *error = "cannot read the source";
        ok = false;
    }
    fclose(file);
    return ok;
}

// Writes beside the target first, then moves it over: never a partial page file.
bool WriteWhole(const std::string& path, const std::string& bytes, std::string* error)
{
    const std::string part = path + ".part";
    FILE* file = fopen(part.c_str(), "wb");
    if (!file) {
        *error = "cannot write " + path;
        return false;
    }
    const bool written = fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = fclose(file) == 0;
    if (!written || !closed ||
        !MoveFileExA(part.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(part.c_str());
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

std::string Head(const std::string& title)
{
    return "<html><head><meta http-equiv=\"Content-Type\" content=\"text/html; charset=gb2312\">"
           "<title>" +
           CDocConverter::Escape(title) +
           "</title><style>body{background:#808080;margin:0}"
           ".page{background:#fff;width:794px;min-height:1123px;margin:12px auto;padding:24px;"
           "box-sizing:border-box}pre{white-space:pre-wrap;font:14px monospace}"
           "img{max-width:100%}</style></head><body>\n";
}

std::string FileTitle(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

std::string CDocConverter::Escape(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\r':
            break;
        case '\0':
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string CDocConverter::Base64(const std::string& bytes)
{
    static const char kDigits[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = (unsigned char)bytes[i] << 16 | (unsigned char)bytes[i + 1] << 8 |
                           (unsigned char)bytes[i + 2];
        out += kDigits[v >> 18 & 63];
        out += kDigits[v >> 12 & 63];
        out += kDigits[v >> 6 & 63];
        out += kDigits[v & 63];
    }
    if (i < bytes.size()) {
        unsigned v = (unsigned char)bytes[i] << 16;
        if (i + 1 < bytes.size())
            v |= (unsigned char)bytes[i + 1] << 8;
        out += kDigits[v >> 18 & 63];
        out += kDigits[v >> 12 & 63];
        out += i + 1 < bytes.size() ? kDigits[v >> 6 & 63] : '=';
        out += '=';
    }
    return out;
}

std::string CDocConverter::TextPages(const std::string& title, const std::string& text)
{
    std::string page = Head(title);
    size_t at = 0;
    int number = 0;
    // An empty document still has its one (empty) page.
    do {
        size_t end = at;
        for (size_t lines = 0; lines < LINES_PER_PAGE && end < text.size(); ++lines) {
            const size_t newline = text.find('\n', end);
            end = newline == std::string::npos ? text.size() : newline + 1;
        }
        page += "<div class=\"page\" id=\"page" + std::to_string(++number) + "\"><pre>" +
                Escape(text.substr(at, end - at)) + "</pre></div>\n";
        at = end;
    } while (at < text.size());
    return page + "</body></html>\n";
}

bool CDocConverter::PicturePage(const std::string& title, const std::string& extension,
                                const std::string& bytes, std::string* page)
{
    const char* type = nullptr;
    if (extension == ".bmp" && bytes.compare(0, 2, "BM") == 0 && bytes.size() > 54)
        type = "image/bmp";
    else if (extension == ".gif" && bytes.compare(0, 4, "GIF8") == 0)
        type = "image/gif";
    else if ((extension == ".jpg" || extension == ".jpeg") && bytes.size() > 3 &&
             (unsigned char)bytes[0] == 0xFF && (unsigned char)bytes[1] == 0xD8)
        type = "image/jpeg";
    if (!type)
        return false;
    *page = Head(title) + "<div class=\"page\" id=\"page1\"><img src=\"data:" + type + ";base64," +
            Base64(bytes) + "\"></div>\n</body></html>\n";
    return true;
}

bool CDocConverter::Convert(const std::string& extension, const std::string& source,
                            const std::string& output, std::string* error)
{
    const bool text = extension == ".txt";
    const bool picture =
        extension == ".bmp" || extension == ".gif" || extension == ".jpg" || extension == ".jpeg";
    if (!text && !picture) {
        *error = "documents of the kind \"" + extension + "\" cannot be converted here";
        return false;
    }
    std::string bytes;
    if (!ReadWhole(source, &bytes, error))
        return false;
    const std::string title = FileTitle(source);
    std::string page;
    if (text) {
        page = TextPages(title, bytes);
    } else if (!PicturePage(title, extension, bytes, &page)) {
        *error = "the source is no " + extension.substr(1) + " picture";
        return false;
    }
    return WriteWhole(output, page, error);
}
