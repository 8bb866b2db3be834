#pragma once

// The program's own string table: the text of every client string id
// (61440 and up) from the string-table resource of the module this code is
// linked into, as the code page of the system gives it.
class CStringTable
{
public:
    // The text of id, or null when the table has none.
    static const char* Find(unsigned id);
    static int GetCount();
    // The id at a position of the table (sorted), 0 when out of range.
    static unsigned GetIdAt(int index);
};
