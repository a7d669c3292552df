// Transform built-ins on effect memory: argument rules, block-crossing ranges, scratch storage.
#include "runtime/transforms.h"

#include "runtime/fft.h"
#include "runtime/mdct.h"
#include "runtime/numeric.h"
#include "runtime/transform_tables.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>

namespace vrn
{

namespace
{

constexpr std::int64_t kBlockCells = CXaltoMemory::kBlockCells;
constexpr int kScratchSlots = 4;

// --- any thread: a few reusable buffers so that steady-state calls never allocate.
// A call leases a free slot (growing its buffer when it is too small); when every slot is
// busy it falls back to a buffer of its own. Data() is null when no memory could be had.
struct TScratchSlot
{
    std::atomic_flag busy = ATOMIC_FLAG_INIT;
    std::unique_ptr<double[]> buffer;
    std::size_t capacity = 0;
};

TScratchSlot scratchSlots[kScratchSlots];

class CScratchLease
{
public:
    explicit CScratchLease(std::size_t doubles)
    {
        for (TScratchSlot& candidate : scratchSlots)
        {
            if (candidate.busy.test_and_set(std::memory_order_acquire))
                continue;
            slot = &candidate;
            if (slot->capacity < doubles)
            {
                slot->buffer.reset(new (std::nothrow) double[doubles]);
                slot->capacity = slot->buffer ? doubles : 0;
            }
            data = slot->buffer.get();
            return;
        }
        own.reset(new (std::nothrow) double[doubles]);
        data = own.get();
    }

    ~CScratchLease()
    {
        if (slot)
            slot->busy.clear(std::memory_order_release);
    }

    CScratchLease(const CScratchLease&) = delete;
    CScratchLease& operator=(const CScratchLease&) = delete;

    [[nodiscard]] double* Data() const { return data; }

private:
    TScratchSlot* slot = nullptr;
    std::unique_ptr<double[]> own;
    double* data = nullptr;
};

// True when `cells` cells from `start` are all addressable by 32-bit indexes.
bool RangeValid(std::int64_t start, std::int64_t cells)
{
    return start >= INT32_MIN && start + cells - 1 <= INT32_MAX;
}

std::int32_t BlockOf(std::int64_t index)
{
    // Floor division, so negative indexes land in negative blocks like CXaltoMemory::Cell.
    return static_cast<std::int32_t>(index >> CXaltoMemory::kBlockShift);
}

// Pointer to the cells from `start` when `cells` of them lie in one block, null otherwise.
double* BlockCells(CXaltoMemory& memory, std::int64_t start, std::int64_t cells)
{
    if (BlockOf(start) != BlockOf(start + cells - 1))
        return nullptr;
    return memory.Block(BlockOf(start)) + (start & (kBlockCells - 1));
}

// Copies between memory and a contiguous buffer one block segment at a time.
template <typename Copy>
void ForEachSegment(CXaltoMemory& memory, std::int64_t start, std::int64_t cells, Copy copy)
{
    std::int64_t done = 0;
    while (done < cells)
    {
        const std::int64_t index = start + done;
        const std::int64_t offset = index & (kBlockCells - 1);
        const std::int64_t length = std::min(cells - done, kBlockCells - offset);
        copy(memory.Block(BlockOf(index)) + offset, static_cast<std::size_t>(done),
             static_cast<std::size_t>(length));
        done += length;
    }
}

// Runs transform(cells, work) on `cells` contiguous cells from `start` with `workDoubles` of work
// storage. A range inside one block is transformed in place; one that crosses a block boundary
// is gathered into scratch storage and scattered back afterwards.
template <typename Transform>
void OnContiguousCells(CXaltoMemory& memory, std::int64_t start, std::int64_t cells,
                       std::size_t workDoubles, Transform transform)
{
    if (!RangeValid(start, cells))
        return;
    double* direct = BlockCells(memory, start, cells);
    if (direct && workDoubles == 0)
    {
        transform(direct, nullptr);
        return;
    }
    const std::size_t gathered = direct ? 0 : static_cast<std::size_t>(cells);
    CScratchLease lease(gathered + workDoubles);
    double* scratch = lease.Data();
    if (!scratch)
        return; // out of memory: the cells stay as they were
    if (direct)
    {
        transform(direct, scratch);
        return;
    }
    ForEachSegment(memory, start, cells,
                   [scratch](double* block, std::size_t at, std::size_t n)
                   { std::copy(block, block + n, scratch + at); });
    transform(scratch, scratch + gathered);
    ForEachSegment(memory, start, cells,
                   [scratch](double* block, std::size_t at, std::size_t n)
                   { std::copy(scratch + at, scratch + at + n, block); });
}

// Largest power of two ≤ value, 0 when value < 1.
std::int64_t PowerOfTwoFloor(std::int32_t value)
{
    if (value < 1)
        return 0;
    std::int64_t power = 1;
    while (power * 2 <= value)
        power *= 2;
    return power;
}

// Number of complex values the multiply built-ins process: the count rounded down to even.
std::int64_t PairedCount(double count)
{
    const std::int32_t n = RoundIndex(count);
    return n > 0 ? n & ~std::int32_t{1} : 0;
}

// Runs op(dest, a, b) on the complex values k = 0 … count − 1 of the three ranges (2 cells each),
// in order, reading each value's operands before writing its result, so overlapping ranges give
// the same result as a plain element loop. Runs of values that lie inside blocks go through
// block pointers; a value split across a boundary goes through single cells.
template <typename Op>
void ForEachComplex(CXaltoMemory& memory, std::int64_t dest, std::int64_t a, std::int64_t b,
                    std::int64_t count, Op op)
{
    if (count <= 0 || !RangeValid(dest, 2 * count) || !RangeValid(a, 2 * count) ||
        !RangeValid(b, 2 * count))
        return;
    std::int64_t k = 0;
    while (k < count)
    {
        const std::int64_t d = dest + 2 * k;
        const std::int64_t x = a + 2 * k;
        const std::int64_t y = b + 2 * k;
        auto valuesLeftInBlock = [](std::int64_t index)
        { return (kBlockCells - (index & (kBlockCells - 1))) / 2; };
        const std::int64_t run =
            std::min({count - k, valuesLeftInBlock(d), valuesLeftInBlock(x), valuesLeftInBlock(y)});
        if (run == 0)
        {
            double re = 0.0;
            double im = 0.0;
            op(memory.Cell(static_cast<std::int32_t>(d)),
               memory.Cell(static_cast<std::int32_t>(d + 1)),
               memory.Cell(static_cast<std::int32_t>(x)),
               memory.Cell(static_cast<std::int32_t>(x + 1)),
               memory.Cell(static_cast<std::int32_t>(y)),
               memory.Cell(static_cast<std::int32_t>(y + 1)), re, im);
            memory.Cell(static_cast<std::int32_t>(d)) = re;
            memory.Cell(static_cast<std::int32_t>(d + 1)) = im;
            ++k;
            continue;
        }
        double* pd = memory.Block(BlockOf(d)) + (d & (kBlockCells - 1));
        const double* px = memory.Block(BlockOf(x)) + (x & (kBlockCells - 1));
        const double* py = memory.Block(BlockOf(y)) + (y & (kBlockCells - 1));
        for (std::size_t i = 0; i < static_cast<std::size_t>(2 * run); i += 2)
        {
            double re = 0.0;
            double im = 0.0;
            op(pd[i], pd[i + 1], px[i], px[i + 1], py[i], py[i + 1], re, im);
            pd[i] = re;
            pd[i + 1] = im;
        }
        k += run;
    }
}

} // namespace

void PrepareTransformTables()
{
    TransformTables();
}

void FftBuiltin(CXaltoMemory& memory, double start, double size, double mode)
{
    const std::int64_t n = PowerOfTwoFloor(RoundIndex(size));
    if (n < kFftMinSize || n > kFftMaxSize)
        return;
    const int values = static_cast<int>(n);
    void (*transform)(double*, int) = nullptr;
    switch (RoundIndex(mode))
    {
    case 0:
        transform = FftForward;
        break;
    case 1:
        transform = FftInverse;
        break;
    case 4:
        transform = FftPermute;
        break;
    case 5:
        transform = FftInversePermute;
        break;
    default:
        return;
    }
    OnContiguousCells(memory, RoundIndex(start), 2 * n, 0,
                      [transform, values](double* cells, double*) { transform(cells, values); });
}

void ComplexMultiplyBuiltin(CXaltoMemory& memory, double destination, double source, double count)
{
    // dest = dest × src; dest doubles as the first operand.
    const std::int64_t dest = RoundIndex(destination);
    ForEachComplex(
        memory, dest, dest, RoundIndex(source), PairedCount(count),
        [](double, double, double ar, double ai, double br, double bi, double& re, double& im)
        {
            re = ar * br - ai * bi;
            im = ar * bi + ai * br;
        });
}

void ComplexMultiplyToBuiltin(CXaltoMemory& memory, double destination, double a, double b,
                              double count)
{
    ForEachComplex(
        memory, RoundIndex(destination), RoundIndex(a), RoundIndex(b), PairedCount(count),
        [](double, double, double ar, double ai, double br, double bi, double& re, double& im)
        {
            re = ar * br - ai * bi;
            im = ar * bi + ai * br;
        });
}

void ComplexMultiplyAddBuiltin(CXaltoMemory& memory, double destination, double a, double b,
                               double count)
{
    ForEachComplex(
        memory, RoundIndex(destination), RoundIndex(a), RoundIndex(b), PairedCount(count),
        [](double dr, double di, double ar, double ai, double br, double bi, double& re, double& im)
        {
            re = dr + (ar * br - ai * bi);
            im = di + (ar * bi + ai * br);
        });
}

void MdctBuiltin(CXaltoMemory& memory, double start, double size, double mode)
{
    const std::int64_t n = PowerOfTwoFloor(RoundIndex(size));
    if (n < kMdctMinSize || n > kMdctMaxSize)
        return;
    const TMdctLookup* lookup = MdctLookup(static_cast<int>(n));
    if (!lookup)
        return;
    const bool forward = RoundIndex(mode) == 0;
    OnContiguousCells(memory, RoundIndex(start), n, MdctWorkSize(*lookup),
                      [lookup, forward](double* cells, double* work)
                      {
                          if (forward)
                              MdctForward(*lookup, cells, work);
                          else
                              MdctInverse(*lookup, cells, work);
                      });
}

} // namespace vrn
