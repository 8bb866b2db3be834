#pragma once
#include <cstdint>

// A systematic Reed-Solomon code over GF(2^8) with r parity symbols and
// generator (x - a^1)(x - a^2)...(x - a^r). A codeword is the data bytes
// d0..d(k-1) followed by the parity bytes p0..p(r-1); d0 is the coefficient of
// the highest power.
class ReedSolomon
{
public:
    enum { MAX_PARITY = 32, MAX_LENGTH = 255 };

    explicit ReedSolomon(int parity);
    virtual ~ReedSolomon() = default;

    bool IsValid() const { return m_r >= 1 && m_r <= MAX_PARITY; }
    int GetParity() const { return m_r; }

    // Computes the r parity bytes of k data bytes. False when k or r is out
    // of range or r differs from this instance's.
    bool Encode(const uint8_t* data, int k, uint8_t* parity, int r) const;

    // Corrects a codeword of length bytes in place, with the given positions
    // known to be lost (their bytes may hold anything). Returns the number of
    // bytes corrected, 0 when the word was clean, or -1 when it cannot be
    // corrected (the word is then left as it was).
    int Decode(uint8_t* word, int length, const int* erasures, int erasureCount) const;

private:
    int m_r;
    // Generator coefficients in log form, genLog[j] for x^j (genLog[r] is 0: monic).
    int16_t m_genLog[MAX_PARITY + 1];
};
