// Effect memory: lock-free block lookup and creation.
#include "runtime/memory.h"

#include <cstring>

namespace vrn
{

namespace
{
// Block numbers −32768 … 32767 as 0 … 65535.
std::uint32_t Slot(std::int32_t block)
{
    return (static_cast<std::uint32_t>(block) + 0x8000u) & 0xFFFFu;
}
} // namespace

CXaltoMemory::~CXaltoMemory()
{
    ClearMemory();
}

CXaltoMemory::MemoryBlock* CXaltoMemory::Find(std::int32_t block) const
{
    const std::uint32_t slot = Slot(block);
    const Page* page = pages[slot >> kSlotBits].load(std::memory_order_acquire);
    return page ? page->blocks[slot & (kSlots - 1)].load(std::memory_order_acquire) : nullptr;
}

double* CXaltoMemory::Block(std::int32_t block)
{
    if (MemoryBlock* found = Find(block))
        return found->cells;

    // Two threads may create the same page or block at once: the first one published wins,
    // the other one frees its own.
    const std::uint32_t slot = Slot(block);
    std::atomic<Page*>& pageSlot = pages[slot >> kSlotBits];
    Page* page = pageSlot.load(std::memory_order_acquire);
    if (!page)
    {
        auto* fresh = new Page();
        if (pageSlot.compare_exchange_strong(page, fresh, std::memory_order_acq_rel,
                                             std::memory_order_acquire))
            page = fresh;
        else
            delete fresh;
    }
    std::atomic<MemoryBlock*>& blockSlot = page->blocks[slot & (kSlots - 1)];
    MemoryBlock* existing = blockSlot.load(std::memory_order_acquire);
    if (existing)
        return existing->cells;
    auto* fresh = new MemoryBlock();
    if (blockSlot.compare_exchange_strong(existing, fresh, std::memory_order_acq_rel,
                                          std::memory_order_acquire))
    {
        blockCount.fetch_add(1, std::memory_order_relaxed);
        return fresh->cells;
    }
    delete fresh;
    return existing->cells;
}

double& CXaltoMemory::Cell(std::int32_t index)
{
    // Arithmetic shift: negative indexes live in negative blocks.
    return Block(index >> kBlockShift)[index & (kBlockCells - 1)];
}

double CXaltoMemory::LoadCell(std::int32_t index) const
{
    const MemoryBlock* block = Find(index >> kBlockShift);
    if (!block)
        return 0.0;
    double value = 0.0;
    __atomic_load(&block->cells[index & (kBlockCells - 1)], &value, __ATOMIC_RELAXED);
    return value;
}

void CXaltoMemory::StoreCell(std::int32_t index, double value)
{
    double* cell = &Cell(index);
    __atomic_store(cell, &value, __ATOMIC_RELAXED);
}

void CXaltoMemory::ClearMemory()
{
    for (std::atomic<Page*>& pageSlot : pages)
    {
        Page* page = pageSlot.exchange(nullptr, std::memory_order_acq_rel);
        if (!page)
            continue;
        for (std::atomic<MemoryBlock*>& blockSlot : page->blocks)
            delete blockSlot.load(std::memory_order_relaxed);
        delete page;
    }
    blockCount.store(0, std::memory_order_relaxed);
}

void CXaltoMemory::ZeroAllCells()
{
    for (std::atomic<Page*>& pageSlot : pages)
    {
        Page* page = pageSlot.load(std::memory_order_acquire);
        if (!page)
            continue;
        for (std::atomic<MemoryBlock*>& blockSlot : page->blocks)
            if (MemoryBlock* block = blockSlot.load(std::memory_order_acquire))
                std::memset(block->cells, 0, sizeof block->cells); // all bits 0 is +0.0
    }
}

} // namespace vrn
