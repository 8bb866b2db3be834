#include "G7221BitWriter.h"

G7221BitWriter::G7221BitWriter(uint16_t* words, int wordCount)
    : m_words(words), m_total(wordCount * 16), m_used(0)
{
    for (int i = 0; i < wordCount; ++i)
        m_words[i] = 0;
}

void G7221BitWriter::Put(uint32_t value, int count)
{
    for (int i = count - 1; i >= 0 && m_used < m_total; --i)
    {
        if ((value >> i) & 1u)
            m_words[m_used >> 4] |= (uint16_t)(0x8000u >> (m_used & 15));
        ++m_used;
    }
}

void G7221BitWriter::FillWithOnes()
{
    while (m_used < m_total)
        Put(1, 1);
}
