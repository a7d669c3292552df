#pragma once
// A double that several host threads read and write without a data race.

#include <atomic>

namespace vrn
{

/// A double read and written with relaxed atomics: each access sees some whole value another
/// thread stored, never a torn one, and costs a plain load or store on x86. Used for values the
/// host's threads share (slider cells, the editor's control values, host-fed values) where no
/// ordering with other data is needed.
class SharedDouble
{
public:
    SharedDouble() = default;
    SharedDouble(double initial) : value(initial) {}
    SharedDouble(const SharedDouble& other) : value(other.Load()) {}
    SharedDouble& operator=(const SharedDouble& other)
    {
        Store(other.Load());
        return *this;
    }
    SharedDouble& operator=(double v)
    {
        Store(v);
        return *this;
    }
    operator double() const { return Load(); }

    double Load() const { return value.load(std::memory_order_relaxed); }
    void Store(double v) { value.store(v, std::memory_order_relaxed); }

private:
    static_assert(std::atomic<double>::is_always_lock_free, "shared doubles must not lock");
    std::atomic<double> value{0.0};
};

} // namespace vrn
