#pragma once
#include <string>

class CLanguageManager;

// A text of the language files by string id, the program's own text when
// the file has none (or no manager is given).
std::string PaneText(const CLanguageManager* language, unsigned id, const char* fallback = nullptr);
// The same for a text used as a printf format.
std::string PaneFormat(const CLanguageManager* language, unsigned id);
// An information box, without caption, over owner (may be null).
void PaneMessage(void* owner, const char* text);
