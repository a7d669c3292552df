#pragma once
// Process-wide FFT tables: twiddles per pass size, transform-order permutations, cycle leaders.

#include <cstddef>
#include <cstdint>

namespace vrn
{

/// Smallest FFT size of the built-in, complex values.
constexpr int kFftMinSize = 16;
/// Largest FFT size of the built-in, complex values.
constexpr int kFftMaxSize = 32768;
/// Smallest pass size with a twiddle table; the 8- and 16-point passes use fixed constants.
constexpr int kTwiddleMinPass = 32;
/// Entries of all permutation tables together (sizes 2, 4, …, 32768 one after another).
constexpr std::size_t kPermutationEntries = 2 * static_cast<std::size_t>(kFftMaxSize) - 2;
/// Doubles of all twiddle tables together: passSize / 4 (cos, sin) pairs per pass size 32 … 32768.
constexpr std::size_t kTwiddleDoubles = (2 * static_cast<std::size_t>(kFftMaxSize) - 32) / 2;
/// Room for the cycle-leader lists: a cycle has at least two entries, plus one 0 per list.
constexpr std::size_t kLeaderCapacity = static_cast<std::size_t>(kFftMaxSize) + 12;

/// Position f(i, n) of the transform order: position i of a forward result of size n holds
/// X[(n − f(i, n)) mod n]. n is a power of two 1 … 32768, 0 ≤ i < n.
int TransformOrderIndex(int i, int n);

/// Read-only process-wide tables; obtain them through TransformTables().
class CTransformTables
{
public:
    /// Permutation of `size` (power of two 2 … 32768): entry k is the transform-order position
    /// holding X[k]; entry 0 is 0.
    const std::uint16_t* Permutation(int size) const
    {
        return permutations + (static_cast<std::size_t>(size) - 2);
    }

    /// Cycle leaders of Permutation(size), zero-terminated; `size` power of two 16 … 32768.
    const std::uint16_t* CycleLeaders(int size) const;

    /// (cos, sin) of 2π·j / passSize for j = 0 … passSize/4 − 1; passSize power of two
    /// 32 … 32768.
    const double* Twiddles(int passSize) const
    {
        return twiddles + (static_cast<std::size_t>(passSize) - kTwiddleMinPass) / 2;
    }

    /// All permutation tables one after another, kPermutationEntries entries.
    const std::uint16_t* AllPermutations() const { return permutations; }

private:
    friend const CTransformTables& TransformTables();
    void Fill();

    static constexpr int kLeaderLists = 12; // sizes 16 … 32768

    std::uint16_t permutations[kPermutationEntries] = {};
    std::uint16_t leaders[kLeaderCapacity] = {};
    std::uint32_t leaderOffsets[kLeaderLists] = {};
    double twiddles[kTwiddleDoubles] = {};
};

/// The tables, filled on the first call of the process; safe from several threads at once.
const CTransformTables& TransformTables();

} // namespace vrn
