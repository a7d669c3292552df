#pragma once
// Hands whole values from writer threads to the audio thread without locking the audio thread.

#include <atomic>
#include <mutex>

namespace vrn
{

/// Three slots: the writer fills its back slot and swaps it with the middle one; the reader
/// swaps the middle slot with its front slot when a fresh value waits there. The reader never
/// blocks or waits; it always sees a complete value, at most one hand-over old. Writers are
/// serialised among themselves by a mutex that the reader never touches.
template <class T>
class TripleBuffer
{
public:
    // --- writer threads (never the audio thread)

    /// Publishes `value` for the reader's next Acquire.
    void Publish(const T& value)
    {
        std::lock_guard<std::mutex> lock(writerMutex);
        slots[back] = value;
        back = middle.exchange(back | kFresh, std::memory_order_acq_rel) & kIndexMask;
    }

    // --- reader thread (the audio thread): no allocation, no lock

    /// Takes the newest published value if there is one; answers the reader's current value.
    const T& Acquire()
    {
        if ((middle.load(std::memory_order_relaxed) & kFresh) != 0)
            front = middle.exchange(front, std::memory_order_acq_rel) & kIndexMask;
        return slots[front];
    }

    /// The reader's current value, as of its last Acquire.
    const T& Current() const { return slots[front]; }

private:
    static constexpr unsigned kFresh = 4;
    static constexpr unsigned kIndexMask = 3;

    T slots[3]{};
    std::atomic<unsigned> middle{1};
    unsigned front = 0; ///< owned by the reader
    unsigned back = 2;  ///< owned by the writers
    std::mutex writerMutex;
};

} // namespace vrn
