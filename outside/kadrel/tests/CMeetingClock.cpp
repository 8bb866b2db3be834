#include "CMeetingClock.h"

CMeetingClock::~CMeetingClock()
{
    if (m_block)
        UnmapViewOfFile(m_block);
    if (m_mapping)
        CloseHandle(m_mapping);
}

bool CMeetingClock::Create(const std::string& name)
{
    m_mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Block),
                                   name.c_str());
    if (!m_mapping)
        return false;
    m_block =
        static_cast<Block*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block)));
    return m_block != nullptr;
}

bool CMeetingClock::Open(const std::string& name)
{
    m_mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    if (!m_mapping)
        return false;
    m_block =
        static_cast<Block*>(MapViewOfFile(m_mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(Block)));
    return m_block != nullptr;
}

void CMeetingClock::Ready()
{
    if (m_block)
        InterlockedIncrement(&m_block->ready);
}

long CMeetingClock::ReadyCount() const { return m_block ? m_block->ready : 0; }

void CMeetingClock::Publish(double fromMs, double toMs)
{
    if (!m_block)
        return;
    m_block->fromMs = fromMs;
    m_block->toMs = toMs;
    MemoryBarrier();
    InterlockedExchange(&m_block->published, 1);
}

bool CMeetingClock::Window(double* fromMs, double* toMs) const
{
    if (!m_block || !m_block->published)
        return false;
    MemoryBarrier();
    *fromMs = m_block->fromMs;
    *toMs = m_block->toMs;
    return true;
}
