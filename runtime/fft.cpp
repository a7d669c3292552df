// Split-radix FFT: decimation in frequency forward, its mirror (decimation in time) inverse.
#include "runtime/fft.h"

#include "runtime/transform_tables.h"

#include <cstddef>
#include <cstring>

namespace vrn
{

namespace
{

// The forward transform works with w = e^(+2πi/n) and the conjugate-pair split: a pass of size n
// leaves the even bins (size n/2 sub-transform) in the first half, bins 4k + 1 in the third
// quarter and bins 4k − 1 in the fourth. Read with the + sign, position i holds bin f(i, n);
// with the usual − sign that is bin n − f(i, n): exactly the transform order, no bit reversal.
// The inverse is the conjugate transpose of the forward: the same passes in reverse order,
// transposed butterflies and conjugated twiddles, so inverse(forward(x)) = n·x.

constexpr double kSqrtHalf = 0.70710678118654752440084436210485; // cos(π/4)
constexpr double kCos8 = 0.92387953251128675612818318939679;     // cos(π/8)
constexpr double kSin8 = 0.38268343236508977172845998403040;     // sin(π/8)

// (cos, sin) of 2π·j/n for the 8- and 16-point passes.
constexpr double kTwiddles8[] = {1.0, 0.0, kSqrtHalf, kSqrtHalf};
constexpr double kTwiddles16[] = {1.0, 0.0, kCos8, kSin8, kSqrtHalf, kSqrtHalf, kSin8, kCos8};

// One complex value (re, im) as a two-lane vector: GCC and Clang map the arithmetic to SSE2 (or
// the target's equivalent) and fall back to scalar code elsewhere. Values are loaded and stored
// with memcpy because effect memory gives no alignment (a buffer may start at an odd cell).
typedef double Complex __attribute__((vector_size(16)));

Complex Load(const double* p)
{
    Complex v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void Store(double* p, Complex v)
{
    std::memcpy(p, &v, sizeof v);
}

// i·v = (−im, re)
Complex TimesI(Complex v)
{
    return Complex{v[1], v[0]} * Complex{-1.0, 1.0};
}

// −i·v = (im, −re)
Complex TimesMinusI(Complex v)
{
    return Complex{v[1], v[0]} * Complex{1.0, -1.0};
}

void Butterfly2(double* z)
{
    const Complex a = Load(z);
    const Complex b = Load(z + 2);
    Store(z, a + b);
    Store(z + 2, a - b);
}

void Forward4(double* z)
{
    const Complex a0 = Load(z);
    const Complex a1 = Load(z + 2);
    const Complex a2 = Load(z + 4);
    const Complex a3 = Load(z + 6);
    const Complex s0 = a0 + a2;
    const Complex s1 = a1 + a3;
    const Complex u = a0 - a2;
    const Complex iv = TimesI(a1 - a3);
    Store(z, s0 + s1);
    Store(z + 2, s0 - s1);
    Store(z + 4, u + iv);
    Store(z + 6, u - iv);
}

void Inverse4(double* z)
{
    const Complex x0 = Load(z);
    const Complex x1 = Load(z + 2);
    const Complex x2 = Load(z + 4);
    const Complex x3 = Load(z + 6);
    const Complex a0 = x0 + x1;
    const Complex a1 = x0 - x1;
    const Complex u = x2 + x3;
    const Complex v = TimesMinusI(x2 - x3);
    Store(z, a0 + u);
    Store(z + 4, a0 - u);
    Store(z + 2, a1 + v);
    Store(z + 6, a1 - v);
}

// One forward pass over n values: sums into the first half, the twiddled differences into the
// last two quarters.
void ForwardPass(double* z, std::size_t n, const double* w)
{
    const std::size_t quarter = n / 4;
    double* z0 = z;
    double* z1 = z + 2 * quarter;
    double* z2 = z + 4 * quarter;
    double* z3 = z + 6 * quarter;
    for (std::size_t j = 0; j < 2 * quarter; j += 2)
    {
        const Complex a0 = Load(z0 + j);
        const Complex a1 = Load(z1 + j);
        const Complex a2 = Load(z2 + j);
        const Complex a3 = Load(z3 + j);
        Store(z0 + j, a0 + a2);
        Store(z1 + j, a1 + a3);
        const Complex u = a0 - a2;
        const Complex iv = TimesI(a1 - a3);
        const Complex b = u + iv;
        const Complex c = u - iv;
        const Complex cosine = {w[j], w[j]};
        const Complex sine = {w[j + 1], w[j + 1]};
        Store(z2 + j, cosine * b + sine * TimesI(b));      // w·b
        Store(z3 + j, cosine * c + sine * TimesMinusI(c)); // conj(w)·c
    }
}

// Transpose of ForwardPass with conjugated twiddles.
void InversePass(double* z, std::size_t n, const double* w)
{
    const std::size_t quarter = n / 4;
    double* z0 = z;
    double* z1 = z + 2 * quarter;
    double* z2 = z + 4 * quarter;
    double* z3 = z + 6 * quarter;
    for (std::size_t j = 0; j < 2 * quarter; j += 2)
    {
        const Complex cosine = {w[j], w[j]};
        const Complex sine = {w[j + 1], w[j + 1]};
        const Complex b = Load(z2 + j);
        const Complex c = Load(z3 + j);
        const Complex bw = cosine * b + sine * TimesMinusI(b); // conj(w)·b
        const Complex cw = cosine * c + sine * TimesI(c);      // w·c
        const Complex u = bw + cw;
        const Complex v = TimesMinusI(bw - cw);
        const Complex a0 = Load(z0 + j);
        const Complex a1 = Load(z1 + j);
        Store(z0 + j, a0 + u);
        Store(z2 + j, a0 - u);
        Store(z1 + j, a1 + v);
        Store(z3 + j, a1 - v);
    }
}

// Fixed small sizes as straight-line code: most of the recursion's calls end in these.
void Forward8(double* z)
{
    ForwardPass(z, 8, kTwiddles8);
    Forward4(z);
    Butterfly2(z + 8);
    Butterfly2(z + 12);
}

void Forward16(double* z)
{
    ForwardPass(z, 16, kTwiddles16);
    Forward8(z);
    Forward4(z + 16);
    Forward4(z + 24);
}

void Inverse8(double* z)
{
    Inverse4(z);
    Butterfly2(z + 8);
    Butterfly2(z + 12);
    InversePass(z, 8, kTwiddles8);
}

void Inverse16(double* z)
{
    Inverse8(z);
    Inverse4(z + 16);
    Inverse4(z + 24);
    InversePass(z, 16, kTwiddles16);
}

void Forward(double* z, std::size_t n, const CTransformTables& tables)
{
    switch (n)
    {
    case 0:
    case 1:
        return;
    case 2:
        Butterfly2(z);
        return;
    case 4:
        Forward4(z);
        return;
    case 8:
        Forward8(z);
        return;
    case 16:
        Forward16(z);
        return;
    default:
        ForwardPass(z, n, tables.Twiddles(static_cast<int>(n)));
        Forward(z, n / 2, tables);
        Forward(z + n, n / 4, tables);
        Forward(z + n + n / 2, n / 4, tables);
    }
}

void Inverse(double* z, std::size_t n, const CTransformTables& tables)
{
    switch (n)
    {
    case 0:
    case 1:
        return;
    case 2:
        Butterfly2(z);
        return;
    case 4:
        Inverse4(z);
        return;
    case 8:
        Inverse8(z);
        return;
    case 16:
        Inverse16(z);
        return;
    default:
        Inverse(z, n / 2, tables);
        Inverse(z + n, n / 4, tables);
        Inverse(z + n + n / 2, n / 4, tables);
        InversePass(z, n, tables.Twiddles(static_cast<int>(n)));
    }
}

} // namespace

void FftForward(double* data, int size)
{
    Forward(data, static_cast<std::size_t>(size), TransformTables());
}

void FftInverse(double* data, int size)
{
    Inverse(data, static_cast<std::size_t>(size), TransformTables());
}

void FftPermute(double* data, int size)
{
    const CTransformTables& tables = TransformTables();
    const std::uint16_t* table = tables.Permutation(size);
    // out[k] = in[t[k]]: walk k → t[k]; each cell is overwritten only after it has been read,
    // except the leader, whose value waits aside for the end of the cycle.
    for (const std::uint16_t* leader = tables.CycleLeaders(size); *leader != 0; ++leader)
    {
        const std::size_t start = *leader;
        const double heldRe = data[2 * start];
        const double heldIm = data[2 * start + 1];
        std::size_t k = start;
        for (std::size_t next = table[k]; next != start; next = table[k])
        {
            data[2 * k] = data[2 * next];
            data[2 * k + 1] = data[2 * next + 1];
            k = next;
        }
        data[2 * k] = heldRe;
        data[2 * k + 1] = heldIm;
    }
}

void FftInversePermute(double* data, int size)
{
    const CTransformTables& tables = TransformTables();
    const std::uint16_t* table = tables.Permutation(size);
    // out[t[k]] = in[k]: the held value moves to t[k] and the value found there is held next.
    for (const std::uint16_t* leader = tables.CycleLeaders(size); *leader != 0; ++leader)
    {
        const std::size_t start = *leader;
        double heldRe = data[2 * start];
        double heldIm = data[2 * start + 1];
        std::size_t k = start;
        do
        {
            k = table[k];
            const double re = data[2 * k];
            const double im = data[2 * k + 1];
            data[2 * k] = heldRe;
            data[2 * k + 1] = heldIm;
            heldRe = re;
            heldIm = im;
        } while (k != start);
    }
}

} // namespace vrn
