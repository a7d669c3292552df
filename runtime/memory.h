#pragma once
// Effect memory: a sparse set of 65,536-cell blocks of doubles, created zero-filled on first touch.

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace vrn
{

/// Sparse effect memory addressed by signed 32-bit cell indexes. Blocks are found and created
/// without locks, so the editor (UI thread) may read cells while a chunk restore or a resume on
/// another host thread creates blocks; a block never moves or goes away until ClearMemory.
class CXaltoMemory
{
public:
    static constexpr int kBlockShift = 16;
    static constexpr std::int32_t kBlockCells = 1 << kBlockShift; ///< cells per block

    CXaltoMemory() = default;
    ~CXaltoMemory();
    CXaltoMemory(const CXaltoMemory&) = delete;
    CXaltoMemory& operator=(const CXaltoMemory&) = delete;

    /// Reference to cell `index`; creates its block (zero-filled) when missing. Plain access:
    /// for cells only one thread uses.
    double& Cell(std::int32_t index);

    /// Cell `index` read as one atomic value, for cells another thread writes; 0 when its block
    /// does not exist (nothing is created).
    double LoadCell(std::int32_t index) const;
    /// Writes cell `index` as one atomic value (creating its block), for cells another thread
    /// reads.
    void StoreCell(std::int32_t index, double value);

    /// Pointer to the first cell of block `block` (−32768 … 32767), creating it when missing.
    double* Block(std::int32_t block);

    /// Number of blocks that exist.
    std::size_t BlockCount() const { return blockCount.load(std::memory_order_relaxed); }

    /// True when block `block` exists (does not create it).
    bool HasBlock(std::int32_t block) const { return Find(block) != nullptr; }

    /// Frees every block. Not while another thread uses the memory (host open and close).
    void ClearMemory();

    /// Sets every cell to 0 and keeps the blocks, for a reset: a block that exists will be
    /// needed again, and zero-filling it costs less than freeing it and making it anew (which
    /// maps and faults in fresh pages). Not while another thread uses the memory.
    void ZeroAllCells();

private:
    struct MemoryBlock
    {
        double cells[kBlockCells] = {};
    };
    // Two levels of 256 slots cover the 65,536 block numbers of 32-bit indexes.
    static constexpr int kSlotBits = 8;
    static constexpr int kSlots = 1 << kSlotBits;
    struct Page
    {
        std::atomic<MemoryBlock*> blocks[kSlots]{}; // all null
    };

    MemoryBlock* Find(std::int32_t block) const;

    std::atomic<Page*> pages[kSlots]{}; // all null
    std::atomic<std::size_t> blockCount{0};
};

} // namespace vrn
