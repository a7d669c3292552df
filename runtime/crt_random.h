#pragma once
// The Windows C runtime's rand() sequence, on every build.

#include <cstdint>

namespace vrn
{

/// Linear congruential generator with the range (0 … 32767) and sequence of the Windows C
/// runtime's rand(), seeded 1. Other C libraries' rand() reaches 2^31 − 1, which would scale
/// values meant to stay tiny by a factor of 65,000.
class CrtRandom
{
public:
    static constexpr int kMax = 32767; ///< largest value Next() answers

    /// Next value, 0 … 32767.
    int Next()
    {
        state = state * 214013u + 2531011u;
        return static_cast<int>((state >> 16) & 0x7FFFu);
    }

private:
    std::uint32_t state = 1;
};

} // namespace vrn
