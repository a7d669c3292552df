// Global-offset-table redirection of malloc, calloc and realloc to counting versions (Linux):
// the plug-in library reaches the C library's functions through slots of its own, filled by the
// dynamic linker; for as long as the counter exists those slots lead to the counting versions.
#include "tools/vsthost/allocation_counter.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace vrn
{

namespace
{

/// The object at an address the dynamic linker gives as an integer.
template <class T>
T* At(std::uintptr_t address)
{
    return reinterpret_cast<T*>(address); // NOLINT(performance-no-int-to-ptr): ELF addresses
}
std::atomic<long> allocations{0};

void* CountedMalloc(std::size_t size)
{
    ++allocations;
    return std::malloc(size);
}
void* CountedCalloc(std::size_t count, std::size_t size)
{
    ++allocations;
    return std::calloc(count, size);
}
void* CountedRealloc(void* pointer, std::size_t size)
{
    ++allocations;
    return std::realloc(pointer, size);
}
void* CountedNew(std::size_t size)
{
    ++allocations;
    return ::operator new(size);
}
void* CountedNewArray(std::size_t size)
{
    ++allocations;
    return ::operator new[](size);
}
void* CountedNewNothrow(std::size_t size, const std::nothrow_t& nothrow) noexcept
{
    ++allocations;
    return ::operator new(size, nothrow);
}
void* CountedNewArrayNothrow(std::size_t size, const std::nothrow_t& nothrow) noexcept
{
    ++allocations;
    return ::operator new[](size, nothrow);
}

/// The counting version of the allocation function `name`, or null for any other name.
void* CountingVersion(const char* name)
{
    if (std::strcmp(name, "malloc") == 0)
        return reinterpret_cast<void*>(&CountedMalloc);
    if (std::strcmp(name, "calloc") == 0)
        return reinterpret_cast<void*>(&CountedCalloc);
    if (std::strcmp(name, "realloc") == 0)
        return reinterpret_cast<void*>(&CountedRealloc);
    // A C++ library calls operator new through its own imports; the standard library's operator
    // new then calls malloc through the standard library's, which are not the plug-in's.
    if (std::strcmp(name, "_Znwm") == 0)
        return reinterpret_cast<void*>(&CountedNew);
    if (std::strcmp(name, "_Znam") == 0)
        return reinterpret_cast<void*>(&CountedNewArray);
    if (std::strcmp(name, "_ZnwmRKSt9nothrow_t") == 0)
        return reinterpret_cast<void*>(&CountedNewNothrow);
    if (std::strcmp(name, "_ZnamRKSt9nothrow_t") == 0)
        return reinterpret_cast<void*>(&CountedNewArrayNothrow);
    return nullptr;
}

/// A loaded object found by an address inside it.
struct Search
{
    const void* address = nullptr;
    ElfW(Addr) base = 0;
    const ElfW(Dyn) * dynamic = nullptr;
};

int FindObject(dl_phdr_info* info, std::size_t, void* data)
{
    auto* search = static_cast<Search*>(data);
    const auto address = reinterpret_cast<ElfW(Addr)>(search->address);
    bool inside = false;
    const ElfW(Dyn)* dynamic = nullptr;
    for (int i = 0; i < info->dlpi_phnum; ++i)
    {
        const ElfW(Phdr)& segment = info->dlpi_phdr[i];
        const ElfW(Addr) start = info->dlpi_addr + segment.p_vaddr;
        if (segment.p_type == PT_LOAD && address >= start && address < start + segment.p_memsz)
            inside = true;
        if (segment.p_type == PT_DYNAMIC)
            dynamic = At<const ElfW(Dyn)>(start);
    }
    if (!inside)
        return 0;
    search->base = info->dlpi_addr;
    search->dynamic = dynamic;
    return 1;
}

/// Writes `value` into a slot of the object's offset table (read-only after relocation when the
/// object was linked for it: made writable for good, which a test tool may do).
void Write(void** slot, void* value)
{
    const long page = sysconf(_SC_PAGESIZE);
    const auto start =
        reinterpret_cast<std::uintptr_t>(slot) & ~static_cast<std::uintptr_t>(page - 1);
    mprotect(At<void>(start), static_cast<std::size_t>(page) * 2, PROT_READ | PROT_WRITE);
    *slot = value;
}

/// Calls `visit(name, slot)` for every relocated slot of the object that names a symbol.
template <class Visit>
void ForEachSymbolSlot(const Search& object, Visit visit)
{
    if (!object.dynamic)
        return;
    // The dynamic linker has made these addresses absolute (on the platforms this tool runs on);
    // an offset below the object's base is made absolute here.
    const auto absolute = [&object](ElfW(Addr) value)
    { return value < object.base ? object.base + value : value; };
    const ElfW(Sym)* symbols = nullptr;
    const char* names = nullptr;
    const ElfW(Rela) * tables[2] = {};
    std::size_t sizes[2] = {};
    for (const ElfW(Dyn)* entry = object.dynamic; entry->d_tag != DT_NULL; ++entry)
    {
        switch (entry->d_tag)
        {
        case DT_SYMTAB:
            symbols = At<const ElfW(Sym)>(absolute(entry->d_un.d_ptr));
            break;
        case DT_STRTAB:
            names = At<const char>(absolute(entry->d_un.d_ptr));
            break;
        case DT_RELA:
            tables[0] = At<const ElfW(Rela)>(absolute(entry->d_un.d_ptr));
            break;
        case DT_RELASZ:
            sizes[0] = entry->d_un.d_val;
            break;
        case DT_JMPREL:
            tables[1] = At<const ElfW(Rela)>(absolute(entry->d_un.d_ptr));
            break;
        case DT_PLTRELSZ:
            sizes[1] = entry->d_un.d_val;
            break;
        default:
            break;
        }
    }
    if (!symbols || !names)
        return;
    for (int t = 0; t < 2; ++t)
        for (std::size_t i = 0; tables[t] && i < sizes[t] / sizeof(ElfW(Rela)); ++i)
        {
            const ElfW(Rela)& relocation = tables[t][i];
            const auto symbol = ELF64_R_SYM(relocation.r_info);
            if (symbol == 0)
                continue;
            visit(names + symbols[symbol].st_name, At<void*>(object.base + relocation.r_offset));
        }
}

// What each redirected slot held before.
struct Saved
{
    void** slot = nullptr;
    void* value = nullptr;
};
Saved saved[16];
int savedCount = 0;
} // namespace

AllocationCounter::AllocationCounter(const void* pluginFunction)
{
    allocations = 0;
    Search object;
    object.address = pluginFunction;
    if (!pluginFunction || dl_iterate_phdr(&FindObject, &object) == 0)
        return;
    savedCount = 0;
    ForEachSymbolSlot(object,
                      [this](const char* name, void** slot)
                      {
                          void* counting = CountingVersion(name);
                          if (!counting || savedCount == 16)
                              return;
                          saved[savedCount++] = {slot, *slot};
                          Write(slot, counting);
                          ++redirected;
                      });
    library = At<void>(object.base);
}

AllocationCounter::~AllocationCounter()
{
    for (int i = savedCount - 1; i >= 0; --i)
        Write(saved[i].slot, saved[i].value);
    savedCount = 0;
}

long AllocationCounter::count() const
{
    return allocations.load();
}

} // namespace vrn
