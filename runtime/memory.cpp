// Effect memory: block lookup and creation.
#include "runtime/memory.h"

namespace vrn
{

double* CXaltoMemory::Block(std::int32_t block)
{
    std::unique_ptr<MemoryBlock>& slot = blocks[block];
    if (!slot)
        slot = std::make_unique<MemoryBlock>();
    return slot->cells;
}

double& CXaltoMemory::Cell(std::int32_t index)
{
    // Arithmetic shift: negative indexes live in negative blocks.
    return Block(index >> kBlockShift)[index & (kBlockCells - 1)];
}

} // namespace vrn
