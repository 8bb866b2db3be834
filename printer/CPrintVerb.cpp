#include "CPrintVerb.h"

namespace {
const char kPrint[] = "print";
const char kPrintChinese[] = "打印";
} // namespace

std::string CPrintVerb::Lower(const std::string& text)
{
    std::string out = text;
    for (size_t i = 0; i < out.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(out[i]);
        if (c >= 0x81 && c <= 0xFE) {
            ++i; // lead byte: skip its trail byte
            continue;
        }
        if (c >= 'A' && c <= 'Z')
            out[i] = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

std::string CPrintVerb::Choose(const std::vector<std::string>& verbs)
{
    std::vector<std::string> lower;
    for (const std::string& v : verbs)
        lower.push_back(Lower(v));
    for (const std::string& v : lower)
        if (v == kPrint)
            return v;
    for (const std::string& v : lower)
        if (v == kPrintChinese)
            return v;
    for (const std::string& v : lower)
        if (v.find(kPrint) != std::string::npos)
            return v;
    for (const std::string& v : lower)
        if (v.find(kPrintChinese) != std::string::npos)
            return v;
    return kPrint;
}

std::string CPrintVerb::Find(IShellHost& shell, const std::string& extension)
{
    std::string type;
    if (!shell.FileType(extension, type) || type.empty())
        return kPrint;
    std::vector<std::string> verbs;
    if (!shell.ShellVerbs(type, verbs))
        return kPrint;
    return Choose(verbs);
}
