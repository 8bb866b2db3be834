#include "AecTransform.h"

#include <cmath>

namespace SonvexDevice {

float AecTransform::s_cos[128];
float AecTransform::s_sin[128];
bool AecTransform::s_built = false;

void AecTransform::BuildTable()
{
    if (s_built)
        return;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < 128; ++i) {
        s_cos[i] = static_cast<float>(std::cos(-2.0 * pi * i / 256.0));
        s_sin[i] = static_cast<float>(std::sin(-2.0 * pi * i / 256.0));
    }
    s_built = true;
}

void AecTransform::Radix2(Complex* data, int n)
{
    if (n < 2)
        return;
    // Bit-reversal permutation.
    for (int i = 1, j = 0; i < n; ++i) {
        int bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(data[i], data[j]);
    }
    for (int i = 0; i + 1 < n; i += 2) {
        Complex a = data[i], b = data[i + 1];
        data[i] = a + b;
        data[i + 1] = a - b;
    }
    for (int span = 4; span <= n; span <<= 1) {
        const int half = span / 2;
        for (int start = 0; start < n; start += span) {
            Complex a = data[start], b = data[start + half];
            data[start] = a + b;
            data[start + half] = a - b;
        }
        for (int j = 1; j < half; ++j) {
            int entry = j * 256 / span;
            // The table holds e^(-j..); the sine is negated for direction +1.
            Complex w(s_cos[entry], -s_sin[entry]);
            for (int start = 0; start < n; start += span) {
                Complex a = data[start + j];
                Complex wb = w * data[start + j + half];
                data[start + j] = a + wb;
                data[start + j + half] = a - wb;
            }
        }
    }
}

bool AecTransform::Forward(Complex* data, int n)
{
    if (!data || n < 2 || n > MAX_POINTS)
        return false;
    BuildTable();
    int pow2 = 1;
    while ((n % (pow2 * 2)) == 0)
        pow2 *= 2;
    const int odd = n / pow2;
    if (odd == 1) {
        Radix2(data, n);
        return true;
    }
    Complex sub[MAX_POINTS];
    for (int r = 0; r < odd; ++r) {
        for (int q = 0; q < pow2; ++q)
            sub[r * pow2 + q] = data[r + odd * q];
        Radix2(sub + r * pow2, pow2);
    }
    const double pi = 3.14159265358979323846;
    const std::complex<double> w(std::cos(2.0 * pi / n), std::sin(2.0 * pi / n));
    std::complex<double> wi(1.0, 0.0);
    for (int i = 0; i < n; ++i) {
        std::complex<double> acc(0.0, 0.0);
        for (int r = odd - 1; r >= 0; --r) {
            Complex y = sub[r * pow2 + (i % pow2)];
            acc = acc * wi + std::complex<double>(y.real(), y.imag());
        }
        data[i] = Complex(static_cast<float>(acc.real()), static_cast<float>(acc.imag()));
        wi *= w;
    }
    return true;
}

} // namespace SonvexDevice
