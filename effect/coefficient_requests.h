#pragma once
// Slider changes made on any thread, handed to the audio thread without a lock.

#include "effect/gate_coefficients.h"

#include <atomic>

namespace vrn::gate
{

/// Counts the requests to recompute the gate's coefficients, and the crossover changes among
/// them. A thread that changed slider cells notes a request (no lock, no wait, no allocation:
/// the host may do so on its audio thread); the audio thread takes the requests at its next
/// block and recomputes the coefficients itself. Crossover changes are judged at each request,
/// against the crossover of the last counted change, so the band-split states are cleared
/// exactly when a recomputation at every request would have cleared them, even when several
/// requests fall between two blocks.
class CoefficientRequests
{
public:
    /// What the audio thread takes at a block.
    struct Taken
    {
        bool pending = false;        ///< sliders changed since the last Take
        bool crossoverMoved = false; ///< among them the crossover (clear the band-split states)
    };

    // --- any thread

    /// Notes that slider cells changed; `crossoverHz` is the crossover slider as it is now.
    void Note(double crossoverHz)
    {
        double anchor = crossoverAnchor.load(std::memory_order_relaxed);
        while (CrossoverMoved(anchor, crossoverHz))
        {
            if (crossoverAnchor.compare_exchange_weak(anchor, crossoverHz,
                                                      std::memory_order_relaxed))
            {
                crossoverChanges.fetch_add(1, std::memory_order_relaxed);
                break;
            }
        }
        // Release: whoever sees this request also sees the cells and the change count above.
        requests.fetch_add(1, std::memory_order_release);
    }

    // --- audio thread: no allocation, no locks

    /// Takes the requests noted since the last Take.
    Taken Take()
    {
        Taken taken;
        const unsigned noted = requests.load(std::memory_order_acquire);
        if (noted == takenRequests)
            return taken;
        takenRequests = noted;
        const unsigned changes = crossoverChanges.load(std::memory_order_relaxed);
        taken.pending = true;
        taken.crossoverMoved = changes != takenChanges;
        takenChanges = changes;
        return taken;
    }

    /// Forgets every request and the crossover (as after a reset, with processing stopped).
    void Clear()
    {
        crossoverAnchor.store(0.0, std::memory_order_relaxed);
        crossoverChanges.store(0, std::memory_order_relaxed);
        requests.store(0, std::memory_order_relaxed);
        takenRequests = 0;
        takenChanges = 0;
    }

private:
    std::atomic<double> crossoverAnchor{0.0}; ///< crossover of the last counted change, Hz
    std::atomic<unsigned> crossoverChanges{0};
    std::atomic<unsigned> requests{0};
    unsigned takenRequests = 0; ///< audio thread
    unsigned takenChanges = 0;  ///< audio thread
};

} // namespace vrn::gate
