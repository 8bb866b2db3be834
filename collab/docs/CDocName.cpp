#include "CDocName.h"

#include <cctype>

void CDocName::SplitForRow(const std::string& name, std::string* text, std::string* type)
{
    const size_t dot = name.find('.');
    if (dot == std::string::npos || dot == 0) {
        *text = name;
        type->clear();
        return;
    }
    *text = name.substr(0, dot);
    *type = name.substr(dot + 1);
}

void CDocName::SplitForSave(const std::string& name, std::string* title, std::string* extension)
{
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        *title = name;
        extension->clear();
        return;
    }
    *title = name.substr(0, dot);
    *extension = name.substr(dot + 1);
}

std::string CDocName::FileName(const std::string& path)
{
    const size_t cut = path.find_last_of("\\/:");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string CDocName::LowerExtension(const std::string& path)
{
    const std::string file = FileName(path);
    const size_t dot = file.rfind('.');
    std::string ext = ".";
    if (dot == std::string::npos)
        return ext;
    for (size_t i = dot + 1; i < file.size(); ++i)
        ext += static_cast<char>(tolower(static_cast<unsigned char>(file[i])));
    return ext;
}
