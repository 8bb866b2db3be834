#pragma once
#include <string>
#include <vector>

#include "IShellHost.h"

// Finds the shell verb that prints a document of a given extension.
class CPrintVerb
{
public:
    // The verb for the extension (with its dot), in lower case; "print" when
    // the registry names none.
    static std::string Find(IShellHost& shell, const std::string& extension);
    // Picks from a file type's verbs: "print", then "打印", then the first
    // containing "print", then the first containing "打印".
    static std::string Choose(const std::vector<std::string>& verbs);
    // Lower case for ASCII letters only; the trail bytes of double-byte
    // characters are left alone.
    static std::string Lower(const std::string& text);
};
