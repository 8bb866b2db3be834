#include "G7221BitReader.h"

G7221BitReader::G7221BitReader(const uint16_t* words, int wordCount)
    : m_words(words), m_total(wordCount * 16), m_used(0)
{}

int G7221BitReader::Get(int count)
{
    if (count > BitsLeft()) {
        m_used = m_total;
        return -1;
    }
    // Whole runs of bits at a time, each up to the end of its word.
    int value = 0;
    while (count > 0) {
        const int room = 16 - (m_used & 15);
        const int n = count < room ? count : room;
        const int bits = (m_words[m_used >> 4] >> (room - n)) & ((1 << n) - 1);
        value = (value << n) | bits;
        m_used += n;
        count -= n;
    }
    return value;
}
