#include "RealFft256.h"

#include <cmath>
#include <cstdio>

namespace RavoEngine {

namespace {
struct Tables
{
    double realCos[65], realSin[65]; // of -2 pi i / 256
    double cplxCos[64], cplxSin[64]; // of -2 pi i / 128
    int reverse[128];
    Tables()
    {
        const double pi = 3.14159265358979323846;
        for (int i = 0; i <= 64; ++i) {
            realCos[i] = std::cos(-2.0 * pi * i / 256.0);
            realSin[i] = std::sin(-2.0 * pi * i / 256.0);
        }
        for (int i = 0; i < 64; ++i) {
            cplxCos[i] = std::cos(-2.0 * pi * i / 128.0);
            cplxSin[i] = std::sin(-2.0 * pi * i / 128.0);
        }
        for (int i = 0; i < 128; ++i) {
            int r = 0;
            for (int b = 0; b < 7; ++b)
                if (i & (1 << b))
                    r |= 1 << (6 - b);
            reverse[i] = r;
        }
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}
} // namespace

void RealFft256::Complex(double* data, int size, bool inverse)
{
    if (size != HALF) {
        printf(" FFT size error\n");
        return;
    }
    const Tables& t = GetTables();
    for (int i = 0; i < HALF; ++i) {
        const int j = t.reverse[i];
        if (j > i) {
            std::swap(data[2 * i], data[2 * j]);
            std::swap(data[2 * i + 1], data[2 * j + 1]);
        }
    }
    for (int i = 0; i < HALF; i += 2) {
        const double ar = data[2 * i], ai = data[2 * i + 1];
        const double br = data[2 * i + 2], bi = data[2 * i + 3];
        data[2 * i] = ar + br;
        data[2 * i + 1] = ai + bi;
        data[2 * i + 2] = ar - br;
        data[2 * i + 3] = ai - bi;
    }
    for (int span = 4; span <= HALF; span *= 2) {
        const int half = span / 2;
        const int step = HALF / span;
        for (int start = 0; start < HALF; start += span) {
            for (int j = 0; j < half; ++j) {
                const double c = t.cplxCos[j * step];
                const double s = inverse ? -t.cplxSin[j * step] : t.cplxSin[j * step];
                double* a = data + 2 * (start + j);
                double* b = data + 2 * (start + j + half);
                const double tr = b[0] * c - b[1] * s;
                const double ti = b[0] * s + b[1] * c;
                b[0] = a[0] - tr;
                b[1] = a[1] - ti;
                a[0] += tr;
                a[1] += ti;
            }
        }
    }
    if (inverse)
        for (int i = 0; i < 2 * HALF; ++i)
            data[i] *= 1.0 / HALF;
}

void RealFft256::Forward(double* data, int size)
{
    if (size != SIZE) {
        printf(" fft_real() size error\n");
        return;
    }
    const Tables& t = GetTables();
    Complex(data, HALF, false);
    double z[2 * HALF];
    for (int i = 0; i < 2 * HALF; ++i)
        z[i] = data[i];
    data[0] = z[0] + z[1];
    data[1] = z[0] - z[1];
    for (int k = 1; k <= 64; ++k) {
        const int m = HALF - k;
        const double zkr = z[2 * k], zki = z[2 * k + 1];
        const double zmr = z[2 * m], zmi = -z[2 * m + 1]; // conj Z(128-k)
        const double fer = (zkr + zmr) / 2, fei = (zki + zmi) / 2;
        // Fo = (Z(k) - conj Z(128-k)) / (2j)
        const double dr = (zkr - zmr) / 2, di = (zki - zmi) / 2;
        const double forr = di, foi = -dr;
        const double wr = t.realCos[k], wi = t.realSin[k];
        const double pr = wr * forr - wi * foi, pi = wr * foi + wi * forr;
        data[2 * k] = fer + pr;
        data[2 * k + 1] = fei + pi;
        if (m != k) {
            data[2 * m] = fer - pr;
            data[2 * m + 1] = -(fei - pi);
        }
    }
}

void RealFft256::Inverse(double* data, int size)
{
    if (size != SIZE) {
        printf(" fft_real() size error\n");
        return;
    }
    const Tables& t = GetTables();
    double x[2 * HALF];
    for (int i = 0; i < 2 * HALF; ++i)
        x[i] = data[i];
    data[0] = (x[0] + x[1]) / 2;
    data[1] = (x[0] - x[1]) / 2;
    for (int k = 1; k <= 64; ++k) {
        const int m = HALF - k;
        const double xkr = x[2 * k], xki = x[2 * k + 1];
        const double xmr = x[2 * m], xmi = -x[2 * m + 1]; // conj X(128-k)
        const double fer = (xkr + xmr) / 2, fei = (xki + xmi) / 2;
        const double dr = (xkr - xmr) / 2, di = (xki - xmi) / 2;
        const double wr = t.realCos[k], wi = -t.realSin[k]; // conj W
        const double forr = dr * wr - di * wi, foi = dr * wi + di * wr;
        // Z(k) = Fe + j Fo; Z(128-k) = conj(Fe - j Fo)
        data[2 * k] = fer - foi;
        data[2 * k + 1] = fei + forr;
        if (m != k) {
            data[2 * m] = fer + foi;
            data[2 * m + 1] = -(fei - forr);
        }
    }
    Complex(data, HALF, true);
}

} // namespace RavoEngine
