#pragma once
#include <string>

#include "ILibraryLoader.h"
#include "MediaFunctionList.h"

// Binds the media libraries: loads Kadrel, Dravom and Caskel from one folder
// and resolves the 99 functions in their fixed order into a table. The
// libraries stay loaded for the rest of the run.
class CMediaBinder
{
public:
    explicit CMediaBinder(ILibraryLoader* loader);

    // The system's common-files folder + "Tessaly\\" (trailing backslash).
    static std::string GetDefaultFolder();
    // The file name of a library ("Kadrel.dll", ...).
    static const char* GetLibraryFile(MEDIA_LIBRARY library);
    // The exported name of a table entry.
    static const char* GetExportName(int index);
    static MEDIA_LIBRARY GetLibraryOf(int index);

    // Loads the three libraries from folder (with its trailing backslash) and
    // fills table in order. False when a library does not load (nothing is
    // resolved then) or at the first name that does not resolve (the entries
    // before it stay set). GetFailure() names what was missing.
    bool Bind(const std::string& folder, MEDIA_FUNCTIONS* table);
    const std::string& GetFailure() const { return m_failure; }

private:
    ILibraryLoader* m_loader;
    std::string m_failure;
};
