#include "G7221BitWriter.h"

G7221BitWriter::G7221BitWriter(uint16_t* words, int wordCount)
    : m_words(words), m_total(wordCount * 16), m_used(0)
{
    for (int i = 0; i < wordCount; ++i)
        m_words[i] = 0;
}

void G7221BitWriter::Put(uint32_t value, int count)
{
    // Whole runs of bits at a time, each up to the end of its word.
    while (count > 0 && m_used < m_total) {
        const int room = 16 - (m_used & 15);
        const int n = count < room ? count : room;
        const uint32_t bits = (value >> (count - n)) & ((1u << n) - 1u);
        m_words[m_used >> 4] |= (uint16_t)(bits << (room - n));
        m_used += n;
        count -= n;
    }
}

void G7221BitWriter::FillWithOnes()
{
    if (m_used & 15)
        m_words[m_used >> 4] |= (uint16_t)((1u << (16 - (m_used & 15))) - 1u);
    for (int i = (m_used + 15) >> 4; i < (m_total >> 4); ++i)
        m_words[i] = 0xFFFF;
    m_used = m_total;
}
