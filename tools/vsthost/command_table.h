#pragma once
// The host tool's commands as one table: name, arguments, parser and action of each. Usage,
// argument checks and dispatch all come from it.

#include "tools/hosting/host_session.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace vrn
{

// Exit codes of the host tool.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;  ///< usage error, bad argument, command that cannot be carried out
constexpr int kExitLoad = 2;   ///< library not loadable or without entry point
constexpr int kExitEffect = 3; ///< entry point returned null or a record with a wrong magic
constexpr int kExitFile = 4;   ///< unreadable or malformed input, unwritable output file

struct CommandRow;

/// One command of the command line, its arguments checked and converted by its row's parser.
struct Command
{
    const CommandRow* row = nullptr;
    std::vector<std::string> arguments; ///< the required arguments as given
    std::vector<std::string> optional;  ///< optional words the parser took after them
    std::vector<long long> integers;    ///< integer arguments, as the parser converted them
    std::vector<double> numbers;        ///< other numeric arguments, as the parser converted them
};

/// The words of the command line after PLUGIN; a parser may take optional words that follow
/// its command's required arguments.
struct CommandWords
{
    const std::vector<std::string>& words;
    std::size_t next = 0;

    /// Takes the next word when it is `word`.
    bool Take(const char* word)
    {
        if (next >= words.size() || words[next] != word)
            return false;
        ++next;
        return true;
    }
    /// Takes the next word, or returns false when there is none.
    bool TakeAny(std::string& word)
    {
        if (next >= words.size())
            return false;
        word = words[next++];
        return true;
    }
};

/// Something a command leaves open for later commands (an editor window); it ends before the
/// instance closes.
class CommandState
{
public:
    virtual ~CommandState() = default;
};

/// What the commands act on.
struct CommandContext
{
    HostSession& session;                    ///< the open instance
    std::unique_ptr<CommandState> openState; ///< left by one command for the next ones
};

/// Checks and converts `command.arguments`, and may take optional words from `more`; false with
/// `error` saying what is wrong.
using CommandParser = bool (*)(Command& command, CommandWords& more, std::string& error);

/// Carries the command out; returns an exit code (kExitOk to go on).
using CommandAction = int (*)(CommandContext& context, const Command& command);

/// One row of the table.
struct CommandRow
{
    const char* name;    ///< as typed
    const char* usage;   ///< the arguments as the usage shows them, e.g. "P X"
    const char* help;    ///< what the command does, one short line
    int argumentCount;   ///< required arguments after the name
    CommandParser parse; ///< null: the arguments are taken as they are
    CommandAction run;   ///< the action
};

/// Every command: the instance's and files' rows, then the editor's.
const std::vector<CommandRow>& CommandTable();

/// The editor's rows (editor_commands.cpp).
std::vector<CommandRow> EditorCommandRows();

/// Parses `words` into commands, checking each against its row; false with `error` on the first
/// unknown command, missing argument or bad value.
[[nodiscard]] bool ParseCommands(const std::vector<std::string>& words,
                                 std::vector<Command>& commands, std::string& error);

/// The commands part of the usage text, one line per row.
std::string CommandUsage();

/// Runs `command` on the context's instance; a closed instance fails every command.
[[nodiscard]] int RunCommand(CommandContext& context, const Command& command);

} // namespace vrn
