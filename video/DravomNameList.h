#pragma once
// The caller's list of names that the device, encoder and input queries
// fill. With the MFC-compatible framework present its CStringList is used;
// until then a list of the same three operations stands in for it.
#if defined(DRAVOM_WITH_FRAMEWORK)
#include "CString.h"
#include "CStringList.h"
#else
#include <list>
#include <string>

class CString
{
public:
    CString(const char* text) : m_text(text ? text : "") {}
    operator const char*() const { return m_text.c_str(); }

private:
    std::string m_text;
};

class CStringList
{
public:
    void RemoveAll() { m_items.clear(); }
    void AddTail(const CString& text) { m_items.push_back(static_cast<const char*>(text)); }
    int GetCount() const { return static_cast<int>(m_items.size()); }
    const std::list<std::string>& Items() const { return m_items; }

private:
    std::list<std::string> m_items;
};
#endif
