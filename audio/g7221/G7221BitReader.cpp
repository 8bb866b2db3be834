#include "G7221BitReader.h"

G7221BitReader::G7221BitReader(const uint16_t* words, int wordCount)
    : m_words(words), m_total(wordCount * 16), m_used(0)
{
}

int G7221BitReader::Get()
{
    if (m_used >= m_total)
        return -1;
    int bit = (m_words[m_used >> 4] >> (15 - (m_used & 15))) & 1;
    ++m_used;
    return bit;
}

int G7221BitReader::Get(int count)
{
    if (count > BitsLeft())
    {
        m_used = m_total;
        return -1;
    }
    int value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 1) | Get();
    return value;
}
