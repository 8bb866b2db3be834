#pragma once
#include <stdint.h>

// Reads a coded frame bit by bit, most significant bit of word 0 first.
class G7221BitReader
{
public:
    G7221BitReader(const uint16_t* words, int wordCount);
    virtual ~G7221BitReader() {}

    // Next bit (0 or 1); -1 once the frame is used up.
    int Get()
    {
        if (m_used >= m_total)
            return -1;
        int bit = (m_words[m_used >> 4] >> (15 - (m_used & 15))) & 1;
        ++m_used;
        return bit;
    }
    // Next `count` (0..31) bits as a number; -1 when the frame holds fewer.
    int Get(int count);
    int BitsLeft() const { return m_total - m_used; }

private:
    const uint16_t* m_words;
    int m_total;
    int m_used;
};
