#pragma once
#include <string>

// How a document's file name is split for the lists and the save dialog.
class CDocName
{
public:
    // Row text and type column of a shared-document list: the name before
    // its first dot and the part after it; a name without a dot, or whose
    // first dot is its first character, is the row text whole.
    static void SplitForRow(const std::string& name, std::string* text, std::string* type);
    // File name and default extension proposed when saving: the name before
    // its last dot and the part after it (no dot: the name, no extension).
    static void SplitForSave(const std::string& name, std::string* title, std::string* extension);
    // "." and the lower-cased extension of a path's file name; "." alone
    // when the file name has none.
    static std::string LowerExtension(const std::string& path);
    // The file name of a path (after its last '\\', '/' or ':').
    static std::string FileName(const std::string& path);
};
