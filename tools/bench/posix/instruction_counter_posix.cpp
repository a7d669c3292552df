// Counting the instructions of chosen code through callgrind's client requests.
#include "tools/bench/instruction_counter.h"

#include <valgrind/callgrind.h>

namespace vrn
{

bool InstructionCounterAvailable() noexcept
{
    return RUNNING_ON_VALGRIND != 0;
}

void InstructionCounterBegin() noexcept
{
    CALLGRIND_START_INSTRUMENTATION;
    CALLGRIND_ZERO_STATS;
}

void InstructionCounterToggle() noexcept
{
    CALLGRIND_TOGGLE_COLLECT;
}

void InstructionCounterZero() noexcept
{
    CALLGRIND_ZERO_STATS;
}

void InstructionCounterDump(const char* name) noexcept
{
    CALLGRIND_DUMP_STATS_AT(name);
}

void InstructionCounterEnd() noexcept
{
    CALLGRIND_STOP_INSTRUMENTATION;
}

} // namespace vrn
