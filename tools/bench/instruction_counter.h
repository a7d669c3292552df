#pragma once
// Counting the instructions of chosen code under callgrind; without it every call does nothing.

namespace vrn
{

/// True when the process runs under valgrind, so that the counts below mean something.
bool InstructionCounterAvailable() noexcept;

/// Turns full instrumentation on (everything runs much slower from here) and clears the counts.
/// Counting itself starts only with InstructionCounterToggle: callgrind is to be started with
/// --collect-atstart=no.
void InstructionCounterBegin() noexcept;

/// Switches counting on when it is off and off when it is on; cheap enough to wrap each call.
void InstructionCounterToggle() noexcept;

/// Clears the counts gathered so far.
void InstructionCounterZero() noexcept;

/// Writes the counts gathered since the last zero or dump into a dump named `name`, then clears
/// them.
void InstructionCounterDump(const char* name) noexcept;

/// Turns instrumentation off again.
void InstructionCounterEnd() noexcept;

} // namespace vrn
