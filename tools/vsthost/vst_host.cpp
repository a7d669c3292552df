// vsthost: loads one VST2 plug-in and runs the commands of the command table on that instance
// (identity, parameters, chunks, rendering a WAV file, latency, raw dispatcher calls).
#include "tools/command_line.h"
#include "tools/hosting/host_session.h"
#include "tools/vsthost/command_table.h"

#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

constexpr char kUsageLine[] = "usage: vsthost [options] PLUGIN COMMAND...\n";
constexpr char kOptions[] =
    "options:\n"
    "  --rate HZ                 sample rate (default 48000)\n"
    "  --block N                 maximum block size, 1..65536 (default 512)\n"
    "  --precision float|double  processReplacing or processDoubleReplacing (default float)\n"
    "  --host-version N          answer to audioMasterVersion (default 2400)\n"
    "  --no-time-info            audioMasterGetTime answers 0\n"
    "  --tempo BPM               transport tempo (default 120)\n"
    "  --trace                   print every host callback to stderr\n";

struct ToolOptions
{
    HostSettings settings;
    bool trace = false;
    std::string plugin;
    std::vector<Command> commands;
};

// Applies option `option` with `value`; false when the value does not fit the option.
bool ApplyOption(const std::string& option, const std::string& value, HostSettings& settings)
{
    long long number = 0;
    if (option == "--rate" || option == "--tempo")
    {
        double& target = option == "--rate" ? settings.sampleRate : settings.tempo;
        return ParseDouble(value, target) && target > 0.0;
    }
    if (option == "--block")
    {
        if (!ParseInteger(value, 1, kHostMaxBlockSize, number))
            return false;
        settings.maxBlockSize = static_cast<int32>(number);
        return true;
    }
    if (option == "--host-version")
    {
        if (!ParseInteger(value, std::numeric_limits<int32>::min(),
                          std::numeric_limits<int32>::max(), number))
            return false;
        settings.hostVersion = static_cast<int32>(number);
        return true;
    }
    if (value != "float" && value != "double")
        return false;
    settings.precision = value == "double" ? ProcessPrecision::Double : ProcessPrecision::Float;
    return true;
}

[[nodiscard]] bool ParseCommandLine(int argc, char** argv, ToolOptions& options, std::string& error)
{
    int i = 1;
    for (; i < argc; ++i)
    {
        const std::string option = argv[i];
        if (option.size() < 2 || option.compare(0, 2, "--") != 0)
            break;
        if (option == "--no-time-info")
        {
            options.settings.timeInfo = false;
            continue;
        }
        if (option == "--trace")
        {
            options.trace = true;
            continue;
        }
        if (option != "--rate" && option != "--block" && option != "--precision" &&
            option != "--host-version" && option != "--tempo")
        {
            error = "unknown option " + option;
            return false;
        }
        if (i + 1 >= argc)
        {
            error = option + " needs a value";
            return false;
        }
        const std::string value = argv[++i];
        if (!ApplyOption(option, value, options.settings))
        {
            error = "bad value '";
            error.append(value).append("' for ").append(option);
            return false;
        }
    }
    if (i >= argc)
    {
        error = "no plug-in given";
        return false;
    }
    options.plugin = argv[i++];
    if (i >= argc)
    {
        error = "no command given";
        return false;
    }
    return ParseCommands(std::vector<std::string>(argv + i, argv + argc), options.commands, error);
}

int RunTool(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
        {
            std::fputs(kUsageLine, stdout);
            std::fputs(kOptions, stdout);
            std::fputs(CommandUsage().c_str(), stdout);
            return kExitOk;
        }
        if (arg.compare(0, 2, "--") != 0)
            break;
    }
    ToolOptions options;
    std::string error;
    if (!ParseCommandLine(argc, argv, options, error))
    {
        PrintError(error);
        std::fputs("usage: vsthost [options] PLUGIN COMMAND... (vsthost --help lists them)\n",
                   stderr);
        return kExitUsage;
    }

    HostSession session(options.settings);
    if (options.trace)
    {
        session.SetTraceSink([](const std::string& line)
                             { std::fprintf(stderr, "%s\n", line.c_str()); });
    }
    switch (session.Open(options.plugin, error))
    {
    case OpenResult::Ok:
        break;
    case OpenResult::LoadFailed:
    case OpenResult::NoEntry:
        PrintError(error);
        return kExitLoad;
    case OpenResult::NoEffect:
    case OpenResult::BadMagic:
        PrintError(error);
        return kExitEffect;
    }
    CommandContext context{session, nullptr};
    int code = kExitOk;
    for (const Command& command : options.commands)
    {
        code = RunCommand(context, command);
        if (code != kExitOk)
            break;
    }
    // Whatever a command left open (an editor window) ends before the instance does.
    context.openState.reset();
    session.Close();
    return code;
}

} // namespace
} // namespace vrn

int main(int argc, char** argv)
{
    return vrn::RunMain("vsthost", argc, argv, vrn::RunTool, vrn::kExitUsage);
}
