#include "RCShareBlock.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "WireReader.h"
#include "WireWriter.h"

namespace {
const size_t BLOCK_SIZE = sizeof(RC_SHARE_BLOCK);
}

uint32_t CRCShareBlock::U32(size_t offset) const
{
    uint32_t v = 0;
    WireReader r(m_view, m_view ? BLOCK_SIZE : 0);
    if (r.Seek(offset))
        r.U32(v);
    return v;
}

uint16_t CRCShareBlock::U16(size_t offset) const
{
    uint16_t v = 0;
    WireReader r(m_view, m_view ? BLOCK_SIZE : 0);
    if (r.Seek(offset))
        r.U16(v);
    return v;
}

uint8_t CRCShareBlock::U8(size_t offset) const
{
    uint8_t v = 0;
    WireReader r(m_view, m_view ? BLOCK_SIZE : 0);
    if (r.Seek(offset))
        r.U8(v);
    return v;
}

void CRCShareBlock::SetU32(size_t offset, uint32_t value)
{
    WireWriter w(m_view, m_view ? BLOCK_SIZE : 0);
    if (w.Seek(offset))
        w.U32(value);
}

void CRCShareBlock::SetU16(size_t offset, uint16_t value)
{
    WireWriter w(m_view, m_view ? BLOCK_SIZE : 0);
    if (w.Seek(offset))
        w.U16(value);
}

void CRCShareBlock::SetU8(size_t offset, uint8_t value)
{
    WireWriter w(m_view, m_view ? BLOCK_SIZE : 0);
    if (w.Seek(offset))
        w.U8(value);
}

std::string CRCShareBlock::Text(size_t offset, size_t width) const
{
    char buffer[256] = {};
    WireReader r(m_view, m_view ? BLOCK_SIZE : 0);
    if (width > sizeof buffer || !r.Seek(offset) || !r.Bytes(buffer, width))
        return std::string();
    return std::string(buffer, strnlen(buffer, width));
}

void CRCShareBlock::SetText(size_t offset, size_t width, const char* text)
{
    WireWriter w(m_view, m_view ? BLOCK_SIZE : 0);
    if (!w.Seek(offset))
        return;
    const size_t n = text ? strnlen(text, width - 1) : 0;
    w.Bytes(text, n);
    w.Zeros(width - n);
}

void CRCShareBlock::SetServerAddress(const char* address)
{
    SetText(RC_OFF_SERVER_ADDRESS, sizeof(RC_SHARE_BLOCK::serverAddress), address);
}

std::string CRCShareBlock::GetServerAddress() const
{
    return Text(RC_OFF_SERVER_ADDRESS, sizeof(RC_SHARE_BLOCK::serverAddress));
}

void CRCShareBlock::SetErrorText(const char* text)
{
    SetText(RC_OFF_ERROR_TEXT, sizeof(RC_SHARE_BLOCK::errorText), text);
}

std::string CRCShareBlock::GetErrorText() const
{
    return Text(RC_OFF_ERROR_TEXT, sizeof(RC_SHARE_BLOCK::errorText));
}

uint32_t CRCShareBlock::TakeCommand()
{
    if (!m_view)
        return 0;
    // The slot is 4-byte aligned in every mapping (the view starts on a page).
    volatile LONG* slot = reinterpret_cast<volatile LONG*>(m_view + RC_OFF_COMMAND);
    return static_cast<uint32_t>(::InterlockedExchange(slot, 0));
}

std::string CRCShareBlock::MakeName(uint32_t tickCount)
{
    char name[64];
    snprintf(name, sizeof name, "QuilletRCShareMem%d", static_cast<int>(tickCount));
    return name;
}
