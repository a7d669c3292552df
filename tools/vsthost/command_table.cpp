// The host tool's command table: the portable rows, their parsers, and the parsing, usage and
// dispatch that come from the table.
#include "tools/vsthost/command_table.h"

#include "tools/command_line.h"
#include "tools/hosting/wav_file.h"
#include "tools/vsthost/command_actions.h"

#include <limits>

namespace vrn
{
namespace
{

constexpr long long kInt32Min = std::numeric_limits<int32>::min();
constexpr long long kInt32Max = std::numeric_limits<int32>::max();

bool ParseSet(Command& command, CommandWords& /*more*/, std::string& error)
{
    float value = 0.0f;
    if (!ParseFloat(command.arguments[1], value))
    {
        error = "set: '" + command.arguments[1] + "' is not a number";
        return false;
    }
    command.numbers.push_back(static_cast<double>(value));
    return true;
}

bool ParseProcess(Command& command, CommandWords& /*more*/, std::string& error)
{
    long long frames = 0;
    if (!ParseInteger(command.arguments[0], 0, std::numeric_limits<long long>::max(), frames))
    {
        error = "process: '" + command.arguments[0] + "' is not a frame count";
        return false;
    }
    command.integers.push_back(frames);
    return true;
}

bool ParseDispatch(Command& command, CommandWords& /*more*/, std::string& error)
{
    const std::vector<std::string>& args = command.arguments;
    long long opcode = 0;
    long long index = 0;
    long long value = 0;
    float opt = 0.0f;
    if (!ParseInteger(args[0], kInt32Min, kInt32Max, opcode) ||
        !ParseInteger(args[1], kInt32Min, kInt32Max, index) ||
        !ParseInteger(args[2], std::numeric_limits<intptr>::min(),
                      std::numeric_limits<intptr>::max(), value) ||
        !ParseFloat(args[3], opt))
    {
        error = "dispatch: OPCODE and INDEX must be 32-bit integers, VALUE a pointer-sized "
                "integer and OPT a number";
        return false;
    }
    command.integers = {opcode, index, value};
    command.numbers.push_back(static_cast<double>(opt));
    return true;
}

bool ParseRender(Command& command, CommandWords& more, std::string& error)
{
    if (!more.Take("--out"))
        return true;
    std::string format;
    WavSampleFormat parsed{};
    if (!more.TakeAny(format) || !ParseWavSampleFormat(format, parsed))
    {
        error = "render --out needs f32, f64 or s16";
        return false;
    }
    command.optional.push_back(format);
    return true;
}

// name, arguments, help, argument count, parser, action
const CommandRow kPortableRows[] = {
    {"info", "", "the plug-in's record, names, abilities and editor size", 0, nullptr, RunInfo},
    {"params", "", "every parameter: index, name, value, display text, label", 0, nullptr,
     RunParams},
    {"get", "P", "parameter P (an index or an exact name)", 1, nullptr, RunGet},
    {"set", "P X", "sets parameter P to the normalised value X", 2, ParseSet, RunSet},
    {"display", "P", "the display text of parameter P", 1, nullptr, RunDisplay},
    {"save-chunk", "FILE", "writes the plug-in's chunk to FILE", 1, nullptr, RunSaveChunk},
    {"load-chunk", "FILE", "hands FILE to the plug-in as its chunk", 1, nullptr, RunLoadChunk},
    {"render", "IN.wav OUT.wav [--out f32|f64|s16]", "processes IN.wav into OUT.wav", 2,
     ParseRender, RunRender},
    {"latency", "", "the latency the plug-in reports (samples)", 0, nullptr, RunLatency},
    {"process", "N", "processes N frames of silence", 1, ParseProcess, RunProcess},
    {"suspend", "", "effMainsChanged(0)", 0, nullptr, RunSuspend},
    {"resume", "", "effMainsChanged(1)", 0, nullptr, RunResume},
    {"dispatch", "OPCODE INDEX VALUE OPT", "a raw dispatcher call with a text buffer", 4,
     ParseDispatch, RunDispatch},
};

const CommandRow* FindRow(const std::string& name)
{
    for (const CommandRow& row : CommandTable())
    {
        if (name == row.name)
            return &row;
    }
    return nullptr;
}

} // namespace

const std::vector<CommandRow>& CommandTable()
{
    static const std::vector<CommandRow> table = []
    {
        std::vector<CommandRow> rows(std::begin(kPortableRows), std::end(kPortableRows));
        for (const CommandRow& row : EditorCommandRows())
            rows.push_back(row);
        return rows;
    }();
    return table;
}

bool ParseCommands(const std::vector<std::string>& words, std::vector<Command>& commands,
                   std::string& error)
{
    CommandWords more{words};
    std::string name;
    while (more.TakeAny(name))
    {
        Command command;
        command.row = FindRow(name);
        if (command.row == nullptr)
        {
            error = "unknown command '" + name + "'";
            return false;
        }
        const int count = command.row->argumentCount;
        for (int a = 0; a < count && more.TakeAny(name); ++a)
            command.arguments.push_back(name);
        if (command.arguments.size() < static_cast<std::size_t>(count))
        {
            error = std::string(command.row->name) + " needs " + std::to_string(count) +
                    " argument" + (count == 1 ? "" : "s");
            return false;
        }
        if (command.row->parse != nullptr && !command.row->parse(command, more, error))
            return false;
        commands.push_back(std::move(command));
    }
    return true;
}

std::string CommandUsage()
{
    constexpr std::size_t kHelpColumn = 37;
    std::string text = "commands, run in order on one instance (P: an index or a name, X: a "
                       "normalised value):\n";
    for (const CommandRow& row : CommandTable())
    {
        std::string line = std::string("  ") + row.name;
        if (row.usage[0] != '\0')
            line.append(" ").append(row.usage);
        // A long argument list puts the help on a line of its own.
        if (line.size() + 1 > kHelpColumn)
            line.append("\n").append(kHelpColumn, ' ');
        else
            line.append(kHelpColumn - line.size(), ' ');
        text += line + row.help + "\n";
    }
    return text;
}

int RunCommand(CommandContext& context, const Command& command)
{
    if (!context.session.IsOpen())
    {
        PrintError(std::string(command.row->name) + ": the instance has been closed");
        return kExitUsage;
    }
    return command.row->run(context, command);
}

} // namespace vrn
