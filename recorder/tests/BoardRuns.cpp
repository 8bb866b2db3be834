#include "BoardRuns.h"

#include "CDrawObj.h"
#include "CWBChange.h"

#include <cstring>

namespace board_runs {

void Put32(BoardBytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void Put16(BoardBytes& b, uint16_t v)
{
    b.push_back(static_cast<unsigned char>(v));
    b.push_back(static_cast<unsigned char>(v >> 8));
}

BoardBytes Open(uint32_t view, uint32_t width, uint32_t height, uint8_t pages, const char* name)
{
    BoardBytes b{2};
    Put32(b, view);
    Put32(b, width);
    Put32(b, height);
    const uint8_t nameLength = static_cast<uint8_t>(std::strlen(name));
    b.insert(b.end(), {pages, 0, 0, 0, nameLength, 0, 0});
    b.insert(b.end(), name, name + nameLength);
    return b;
}

BoardBytes Change(uint32_t view, const std::vector<BYTE>& change)
{
    BoardBytes b{1};
    Put32(b, view);
    Put16(b, static_cast<uint16_t>(change.size()));
    b.insert(b.end(), change.begin(), change.end());
    return b;
}

BoardBytes AddBox(uint32_t view, int page, DWORD id, RECT rc)
{
    CDrawObj* box = CDrawObj::CreateByType(WB_RECTFILL, id);
    box->SetRect(rc);
    box->SetColor(kRed);
    box->SetFill(0);
    std::vector<BYTE> change;
    CWBChange::BuildAdd(change, page, box);
    delete box;
    return Change(view, change);
}

BoardBytes Remove(uint32_t view, int page, DWORD id)
{
    std::vector<BYTE> change;
    CWBChange::BuildDelete(change, page, &id, 1);
    return Change(view, change);
}

BoardBytes Page(uint32_t view, uint8_t page)
{
    BoardBytes b{6};
    Put32(b, view);
    b.push_back(page);
    return b;
}

BoardBytes Zoom(uint16_t zoom, uint16_t base)
{
    BoardBytes b{5};
    Put16(b, zoom);
    Put16(b, base);
    return b;
}

BoardBytes Joined(std::initializer_list<BoardBytes> records)
{
    BoardBytes run;
    for (const BoardBytes& r : records)
        run.insert(run.end(), r.begin(), r.end());
    return run;
}

// A 4 x 4 picture of one colour, as a bitmap file.
BoardBytes SolidBitmap(COLORREF colour)
{
    BoardBytes b{'B', 'M'};
    const uint32_t pixels = 4 * 4 * 3;
    Put32(b, 54 + pixels);
    Put32(b, 0);
    Put32(b, 54);
    Put32(b, 40);
    Put32(b, 4);
    Put32(b, 4);
    Put16(b, 1);
    Put16(b, 24);
    for (int i = 0; i < 6; ++i)
        Put32(b, 0);
    for (int i = 0; i < 16; ++i)
        b.insert(b.end(), {GetBValue(colour), GetGValue(colour), GetRValue(colour)});
    return b;
}

} // namespace board_runs
