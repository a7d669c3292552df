#pragma once
// Counts the heap allocations a loaded plug-in makes, by redirecting its imports of the
// allocation functions (the import table on Windows, the global offset table on Linux). One
// implementation per platform.

namespace vrn
{

/// While it exists, every malloc, calloc and realloc that the plug-in library holding
/// `pluginFunction` calls through its imports is counted, and every operator new where the C++
/// library is a shared one (a DLL's static C++ library ends in malloc anyway); every thread's
/// calls count alike. One counter at a time.
class AllocationCounter
{
public:
    explicit AllocationCounter(const void* pluginFunction);
    /// Puts the library's imports back.
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    /// True when the library imports at least one of the functions (so counting works).
    bool counting() const { return redirected > 0; }
    /// Allocations since the counter was made.
    long count() const;

private:
    void* library = nullptr;
    int redirected = 0;
};

} // namespace vrn
