#pragma once
// Counts the heap allocations a loaded module makes, by redirecting its imports of the C
// runtime's allocation functions.

#include <windows.h>

namespace vrn
{

/// While it exists, every malloc, calloc and realloc that `module` calls through its import
/// table is counted (the module's C++ allocations end there too). One counter at a time; the
/// UI thread's and every other thread's calls count alike.
class AllocationCounter
{
public:
    explicit AllocationCounter(HMODULE module);
    /// Puts the module's imports back.
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    /// True when the module imports at least one of the functions (so counting works).
    bool counting() const { return patched > 0; }
    /// Allocations since the counter was made.
    long count() const;

private:
    HMODULE module;
    int patched = 0;
};

/// The module that holds `address` (a function of a loaded plug-in), or null.
HMODULE ModuleOf(const void* address);

} // namespace vrn
