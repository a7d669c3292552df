// Process-wide FFT tables: filled once, never freed, read by every effect instance.
#include "runtime/transform_tables.h"

#include <cmath>
#include <mutex>

namespace vrn
{

namespace
{

constexpr double kTwoPi = 6.283185307179586476925286766559;

// Constant-initialised (all members have constant initialisers), so no static-order issue:
// the object exists before any constructor of an effect can run.
CTransformTables tables;
std::once_flag tablesOnce;

// Marks during Fill(), which runs once under tablesOnce.
bool visited[kFftMaxSize];

int Log2(int powerOfTwo)
{
    int bits = 0;
    while ((1 << bits) < powerOfTwo)
        ++bits;
    return bits;
}

} // namespace

int TransformOrderIndex(int i, int n)
{
    if (n <= 2)
        return i;
    const int half = n / 2;
    if (i < half)
        return 2 * TransformOrderIndex(i, half);
    const int quarter = n / 4;
    const int rest = i - half;
    if (rest < quarter)
        return 4 * TransformOrderIndex(rest, quarter) + 1;
    return (4 * TransformOrderIndex(rest - quarter, quarter) - 1) & (n - 1);
}

const std::uint16_t* CTransformTables::CycleLeaders(int size) const
{
    return leaders + leaderOffsets[Log2(size) - Log2(kFftMinSize)];
}

void CTransformTables::Fill()
{
    for (int size = 2; size <= kFftMaxSize; size *= 2)
    {
        std::uint16_t* table = permutations + (size - 2);
        table[0] = 0;
        for (int i = 1; i < size; ++i)
        {
            const int k = (size - TransformOrderIndex(i, size)) & (size - 1);
            table[k] = static_cast<std::uint16_t>(i);
        }
    }

    // One leader per cycle of length two or more (its smallest index); following a cycle from
    // its leader lets the permutation run in place with a single value held aside. Index 0 is
    // always a fixed point, which makes 0 a safe terminator.
    std::size_t used = 0;
    for (int size = kFftMinSize; size <= kFftMaxSize; size *= 2)
    {
        leaderOffsets[Log2(size) - Log2(kFftMinSize)] = static_cast<std::uint32_t>(used);
        const std::uint16_t* table = Permutation(size);
        for (int s = 0; s < size; ++s)
            visited[s] = false;
        for (int s = 1; s < size; ++s)
        {
            if (visited[s] || table[s] == s)
                continue;
            leaders[used++] = static_cast<std::uint16_t>(s);
            for (int k = s; !visited[k]; k = table[k])
                visited[k] = true;
        }
        leaders[used++] = 0;
    }

    // Each pair straight from cos/sin: no error builds up along the table as it would when
    // stepping the angle. The first table (pass 32) starts at cos(π/16), sin(π/16) for j = 1.
    double* pair = twiddles;
    for (int pass = kTwiddleMinPass; pass <= kFftMaxSize; pass *= 2)
    {
        for (int j = 0; j < pass / 4; ++j)
        {
            const double angle = kTwoPi * static_cast<double>(j) / static_cast<double>(pass);
            *pair++ = std::cos(angle);
            *pair++ = std::sin(angle);
        }
    }
}

const CTransformTables& TransformTables()
{
    std::call_once(tablesOnce, [] { tables.Fill(); });
    return tables;
}

} // namespace vrn
