#pragma once
// Whiteboard record runs as a recording's board stream holds them, built
// for the player's tests, and a small picture file for page backgrounds.
#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace board_runs {

using BoardBytes = std::vector<unsigned char>;

const COLORREF kGrey = RGB(0x80, 0x80, 0x80);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

void Put32(BoardBytes& b, uint32_t v);
void Put16(BoardBytes& b, uint16_t v);

// A document of that many pages opened.
BoardBytes Open(uint32_t view, uint32_t width, uint32_t height, uint8_t pages, const char* name);
// A change record of a document.
BoardBytes Change(uint32_t view, const std::vector<BYTE>& change);
// A red, solidly filled rectangle added to a page.
BoardBytes AddBox(uint32_t view, int page, DWORD id, RECT rc);
BoardBytes Remove(uint32_t view, int page, DWORD id);
BoardBytes Page(uint32_t view, uint8_t page);
BoardBytes Zoom(uint16_t zoom, uint16_t base = 100);
BoardBytes Joined(std::initializer_list<BoardBytes> records);
// A 4 x 4 picture of one colour, as a bitmap file.
BoardBytes SolidBitmap(COLORREF colour);

} // namespace board_runs
