#pragma once
// The caller's list of names that the device, encoder and input queries
// fill. With the MFC-compatible framework present its CStringList is used;
// until then a list of the same three operations stands in for it.
#if __has_include(<afxcoll.h>)
#include <afxcoll.h>
#else
#include <list>
#include <string>

class CStringList
{
public:
    void RemoveAll() { m_items.clear(); }
    void AddTail(const char* text) { m_items.push_back(text ? text : ""); }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    const std::list<std::string>& Items() const { return m_items; }

private:
    std::list<std::string> m_items;
};
#endif
