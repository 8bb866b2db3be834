#pragma once
#include <string>

// Turns one source document into an HTML page file: a text document into
// pages of preformatted text, a picture (bmp, gif, jpeg) into one page that
// carries it. The output appears only whole; anything else is refused with
// its reason.
class CDocConverter
{
public:
    enum : size_t {
        MAX_SOURCE_BYTES = 16u << 20,
        LINES_PER_PAGE = 50,
    };

    // extension: "." and the lower-cased extension. False with the reason
    // in *error; then no output file is left behind.
    static bool Convert(const std::string& extension, const std::string& source,
                        const std::string& output, std::string* error);

    // The page file of a text document (code page 936 text kept as it is).
    static std::string TextPages(const std::string& title, const std::string& text);
    // The page file of a picture; false when the bytes are not a picture of
    // that kind.
    static bool PicturePage(const std::string& title, const std::string& extension,
                            const std::string& bytes, std::string* page);
    static std::string Escape(const std::string& text);
    static std::string Base64(const std::string& bytes);
};
