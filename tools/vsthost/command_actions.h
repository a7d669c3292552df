#pragma once
// The actions of the host tool's portable commands; the table in command_table.cpp names them.

#include "tools/vsthost/command_table.h"

namespace vrn
{

// instance_commands.cpp: the record, parameters, state and raw calls.
int RunInfo(CommandContext& context, const Command& command);
int RunParams(CommandContext& context, const Command& command);
int RunGet(CommandContext& context, const Command& command);
int RunSet(CommandContext& context, const Command& command);
int RunDisplay(CommandContext& context, const Command& command);
int RunLatency(CommandContext& context, const Command& command);
int RunSuspend(CommandContext& context, const Command& command);
int RunResume(CommandContext& context, const Command& command);
int RunDispatch(CommandContext& context, const Command& command);

// file_commands.cpp: chunks, rendering and processing.
int RunSaveChunk(CommandContext& context, const Command& command);
int RunLoadChunk(CommandContext& context, const Command& command);
int RunRender(CommandContext& context, const Command& command);
int RunProcess(CommandContext& context, const Command& command);

} // namespace vrn
