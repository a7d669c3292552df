// Import-table redirection of malloc, calloc and realloc to counting versions (Windows).
#include "tools/vsthost/allocation_counter.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace vrn
{

namespace
{
std::atomic<long> allocations{0};

using Malloc = void* (*)(std::size_t);
using Calloc = void* (*)(std::size_t, std::size_t);
using Realloc = void* (*)(void*, std::size_t);
Malloc realMalloc = nullptr;
Calloc realCalloc = nullptr;
Realloc realRealloc = nullptr;

void* CountedMalloc(std::size_t size)
{
    ++allocations;
    return realMalloc(size);
}
void* CountedCalloc(std::size_t count, std::size_t size)
{
    ++allocations;
    return realCalloc(count, size);
}
void* CountedRealloc(void* pointer, std::size_t size)
{
    ++allocations;
    return realRealloc(pointer, size);
}

/// Calls `visit(name, slot)` for every function `module` imports by name.
template <class Visit>
void ForEachImport(HMODULE module, Visit visit)
{
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0)
        return;
    for (auto* library =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         library->Name != 0; ++library)
    {
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(
            base +
            (library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots)
        {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            visit(reinterpret_cast<const char*>(byName->Name), slots->u1.Function);
        }
    }
}

/// Writes `value` into an import slot (import tables are read-only once bound).
template <class Slot>
void Patch(Slot& slot, ULONG_PTR value)
{
    DWORD previous = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &previous);
    slot = static_cast<Slot>(value);
    VirtualProtect(&slot, sizeof slot, previous, &previous);
}

template <class Function>
ULONG_PTR Address(Function function)
{
    return reinterpret_cast<ULONG_PTR>(function);
}
} // namespace

AllocationCounter::AllocationCounter(const void* pluginFunction)
{
    allocations = 0;
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<LPCWSTR>(pluginFunction), &module);
    library = module;
    if (!module)
        return;
    ForEachImport(module,
                  [this](const char* name, auto& slot)
                  {
                      if (std::strcmp(name, "malloc") == 0)
                      {
                          realMalloc = reinterpret_cast<Malloc>(slot);
                          Patch(slot, Address(&CountedMalloc));
                      }
                      else if (std::strcmp(name, "calloc") == 0)
                      {
                          realCalloc = reinterpret_cast<Calloc>(slot);
                          Patch(slot, Address(&CountedCalloc));
                      }
                      else if (std::strcmp(name, "realloc") == 0)
                      {
                          realRealloc = reinterpret_cast<Realloc>(slot);
                          Patch(slot, Address(&CountedRealloc));
                      }
                      else
                      {
                          return;
                      }
                      ++redirected;
                  });
}

AllocationCounter::~AllocationCounter()
{
    if (redirected == 0)
        return;
    ForEachImport(static_cast<HMODULE>(library),
                  [](const char*, auto& slot)
                  {
                      if (slot == Address(&CountedMalloc))
                          Patch(slot, Address(realMalloc));
                      else if (slot == Address(&CountedCalloc))
                          Patch(slot, Address(realCalloc));
                      else if (slot == Address(&CountedRealloc))
                          Patch(slot, Address(realRealloc));
                  });
}

long AllocationCounter::count() const
{
    return allocations.load();
}

} // namespace vrn
