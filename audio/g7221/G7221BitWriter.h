#pragma once
#include <stdint.h>

// Writes a coded frame bit by bit, the first bit into the most significant
// bit of the first 16-bit word. Bits past the end of the frame are dropped.
class G7221BitWriter
{
public:
    G7221BitWriter(uint16_t* words, int wordCount);
    virtual ~G7221BitWriter() {}

    // Writes the lowest `count` (0..32) bits of value, most significant first.
    void Put(uint32_t value, int count);
    // Fills the rest of the frame with ones.
    void FillWithOnes();
    int BitsLeft() const { return m_total - m_used; }

private:
    uint16_t* m_words;
    int m_total;
    int m_used;
};
