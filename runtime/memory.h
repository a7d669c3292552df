#pragma once
// Effect memory: a sparse map of 65,536-cell blocks of doubles, created zero-filled on first touch.

#include <cstdint>
#include <map>
#include <memory>

namespace vrn
{

/// Sparse effect memory addressed by signed 32-bit cell indexes.
class CXaltoMemory
{
public:
    static constexpr int kBlockShift = 16;
    static constexpr std::int32_t kBlockCells = 1 << kBlockShift; ///< cells per block

    /// Reference to cell `index`; creates its block (zero-filled) when missing.
    double& Cell(std::int32_t index);

    /// Pointer to the first cell of block `block`, creating it when missing.
    double* Block(std::int32_t block);

    /// Number of blocks that exist.
    std::size_t BlockCount() const { return blocks.size(); }

    /// True when block `block` exists (does not create it).
    bool HasBlock(std::int32_t block) const { return blocks.count(block) != 0; }

    /// Frees every block.
    void ClearMemory() { blocks.clear(); }

private:
    struct MemoryBlock
    {
        double cells[kBlockCells] = {};
    };
    std::map<std::int32_t, std::unique_ptr<MemoryBlock>> blocks;
};

} // namespace vrn
