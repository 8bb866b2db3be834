#include "ReedSolomon.h"

#include <cstring>

#include "GaloisField.h"

using GF = GaloisField;

ReedSolomon::ReedSolomon(int parity) : m_r(parity)
{
    for (int16_t& g : m_genLog)
        g = -1;
    if (!IsValid())
        return;
    uint8_t g[MAX_PARITY + 1] = {};
    g[0] = 1;
    // Multiply in (x + a^i) one root at a time.
    for (int i = 1; i <= m_r; ++i) {
        uint8_t root = GF::Exp(i);
        for (int j = i; j >= 1; --j)
            g[j] = static_cast<uint8_t>(g[j - 1] ^ GF::Mul(g[j], root));
        g[0] = GF::Mul(g[0], root);
    }
    for (int j = 0; j <= m_r; ++j)
        m_genLog[j] = static_cast<int16_t>(GF::Log(g[j]));
}

bool ReedSolomon::Encode(const uint8_t* data, int k, uint8_t* parity, int r) const
{
    if (!IsValid() || r != m_r || k < 1 || k > MAX_LENGTH - r || !data || !parity)
        return false;
    uint8_t p[MAX_PARITY] = {};
    for (int i = 0; i < k; ++i) {
        uint8_t fb = static_cast<uint8_t>(data[i] ^ p[0]);
        int fbLog = GF::Log(fb);
        for (int j = 0; j < r - 1; ++j) {
            int gl = m_genLog[r - 1 - j];
            p[j] = static_cast<uint8_t>(p[j + 1] ^
                                        ((fbLog >= 0 && gl >= 0) ? GF::Exp(fbLog + gl) : 0));
        }
        int gl0 = m_genLog[0];
        p[r - 1] = (fbLog >= 0 && gl0 >= 0) ? GF::Exp(fbLog + gl0) : 0;
    }
    memcpy(parity, p, static_cast<size_t>(r));
    return true;
}

namespace {

// Evaluates the word as a polynomial (word[0] the highest coefficient) at x.
uint8_t Evaluate(const uint8_t* word, int length, uint8_t x)
{
    uint8_t acc = 0;
    for (int i = 0; i < length; ++i)
        acc = static_cast<uint8_t>(GF::Mul(acc, x) ^ word[i]);
    return acc;
}

} // namespace

int ReedSolomon::Decode(uint8_t* word, int length, const int* erasures, int erasureCount) const
{
    const int r = m_r;
    if (!IsValid() || !word || length < 1 || length > MAX_LENGTH || erasureCount < 0 ||
        erasureCount > r || (erasureCount && !erasures))
        return -1;
    for (int e = 0; e < erasureCount; ++e)
        if (erasures[e] < 0 || erasures[e] >= length)
            return -1;

    uint8_t s[MAX_PARITY];
    bool clean = true;
    for (int j = 0; j < r; ++j) {
        s[j] = Evaluate(word, length, GF::Exp(j + 1));
        if (s[j])
            clean = false;
    }
    if (clean)
        return 0;

    // Locator of position i is X = a^(length - 1 - i).
    uint8_t lambda[MAX_PARITY + 1] = {};
    lambda[0] = 1;
    for (int e = 0; e < erasureCount; ++e) {
        uint8_t x = GF::Exp(length - 1 - erasures[e]);
        for (int j = e + 1; j >= 1; --j)
            lambda[j] = static_cast<uint8_t>(lambda[j] ^ GF::Mul(x, lambda[j - 1]));
    }

    // Berlekamp-Massey, started from the erasure locator.
    uint8_t b[MAX_PARITY + 1];
    memcpy(b, lambda, sizeof(b));
    int el = erasureCount;
    for (int step = erasureCount + 1; step <= r; ++step) {
        uint8_t discr = 0;
        for (int i = 0; i < step; ++i)
            discr = static_cast<uint8_t>(discr ^ GF::Mul(lambda[i], s[step - i - 1]));
        if (!discr) {
            memmove(b + 1, b, MAX_PARITY);
            b[0] = 0;
            continue;
        }
        uint8_t t[MAX_PARITY + 1];
        t[0] = lambda[0];
        for (int i = 1; i <= MAX_PARITY; ++i)
            t[i] = static_cast<uint8_t>(lambda[i] ^ GF::Mul(discr, b[i - 1]));
        if (2 * el <= step + erasureCount - 1) {
            el = step + erasureCount - el;
            for (int i = 0; i <= MAX_PARITY; ++i)
                b[i] = GF::Div(lambda[i], discr);
        } else {
            memmove(b + 1, b, MAX_PARITY);
            b[0] = 0;
        }
        memcpy(lambda, t, sizeof(lambda));
    }

    int degree = 0;
    for (int i = 0; i <= r; ++i)
        if (lambda[i])
            degree = i;
    if (degree == 0 || degree > r)
        return -1;

    // Chien search over the positions of the word.
    int positions[MAX_PARITY];
    int found = 0;
    for (int i = 0; i < length; ++i) {
        uint8_t xInv = GF::Exp(-(length - 1 - i));
        uint8_t v = 0;
        uint8_t power = 1;
        for (int j = 0; j <= degree; ++j) {
            v = static_cast<uint8_t>(v ^ GF::Mul(lambda[j], power));
            power = GF::Mul(power, xInv);
        }
        if (!v) {
            if (found == MAX_PARITY)
                return -1;
            positions[found++] = i;
        }
    }
    if (found != degree)
        return -1;

    // Evaluator omega = s(x) lambda(x) mod x^r, then Forney's values.
    uint8_t omega[MAX_PARITY] = {};
    for (int i = 0; i < r; ++i)
        for (int j = 0; j <= i && j <= degree; ++j)
            omega[i] = static_cast<uint8_t>(omega[i] ^ GF::Mul(s[i - j], lambda[j]));

    uint8_t values[MAX_PARITY];
    for (int f = 0; f < found; ++f) {
        uint8_t xInv = GF::Exp(-(length - 1 - positions[f]));
        uint8_t num = 0, power = 1;
        for (int i = 0; i < r; ++i) {
            num = static_cast<uint8_t>(num ^ GF::Mul(omega[i], power));
            power = GF::Mul(power, xInv);
        }
        // Formal derivative: only odd powers survive in characteristic 2.
        uint8_t den = 0;
        uint8_t xInv2 = GF::Mul(xInv, xInv);
        power = 1;
        for (int j = 1; j <= degree; j += 2) {
            den = static_cast<uint8_t>(den ^ GF::Mul(lambda[j], power));
            power = GF::Mul(power, xInv2);
        }
        if (!den)
            return -1;
        values[f] = GF::Div(num, den);
    }

    uint8_t saved[MAX_PARITY];
    for (int f = 0; f < found; ++f) {
        saved[f] = word[positions[f]];
        word[positions[f]] = static_cast<uint8_t>(word[positions[f]] ^ values[f]);
    }
    // A word with more damage than the code can carry may still yield a
    // locator; only a word that now checks out is accepted.
    for (int j = 0; j < r; ++j) {
        if (Evaluate(word, length, GF::Exp(j + 1))) {
            for (int f = 0; f < found; ++f)
                word[positions[f]] = saved[f];
            return -1;
        }
    }
    int corrected = 0;
    for (int f = 0; f < found; ++f)
        if (values[f])
            ++corrected;
    return corrected;
}
