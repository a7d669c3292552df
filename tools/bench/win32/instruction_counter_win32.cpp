// Counting instructions on Windows: there is no callgrind, so nothing is counted.
#include "tools/bench/instruction_counter.h"

namespace vrn
{

bool InstructionCounterAvailable() noexcept
{
    return false;
}

void InstructionCounterBegin() noexcept {}

void InstructionCounterToggle() noexcept {}

void InstructionCounterZero() noexcept {}

void InstructionCounterDump(const char* /*name*/) noexcept {}

void InstructionCounterEnd() noexcept {}

} // namespace vrn
