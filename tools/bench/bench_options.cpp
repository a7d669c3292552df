// gate_bench's command line: what to measure, how, and how to print it.
#include "tools/bench/bench_options.h"

#include "tools/command_line.h"
#include "tools/hosting/host_session.h"

#include <algorithm>
#include <cmath>

namespace vrn
{

const char kBenchUsage[] =
    "usage: gate_bench [options] PLUGIN...\n"
    "       gate_bench --callgrind-report [--title TEXT] DUMP...\n"
    "Processes one test signal through every PLUGIN (48000 Hz, 512-frame blocks unless --block\n"
    "says otherwise, float processReplacing, separate input and output buffers) and prints the\n"
    "cost per stereo frame; the first plug-in is the reference of the ratios. I below is a\n"
    "PLUGIN's position, from 0.\n"
    "options:\n"
    "  --signal gating|silent-tail  bursts over a noise floor (default), or one burst and silence\n"
    "  --seconds S                  length of the gating signal (default 4)\n"
    "  --silence S                  silence of the silent-tail signal, >= 2 (default 10)\n"
    "  --block N                    frames per block, 1..65536 (default 512)\n"
    "  --blocks N,N,...             several block sizes, one table each and a table over them\n"
    "  --rounds N                   timed rounds, plug-ins alternating in each (default 15)\n"
    "  --warmup N                   untimed passes per plug-in first (default 2)\n"
    "  --count                      one pass per plug-in counted under callgrind instead\n"
    "                               (valgrind --tool=callgrind --collect-atstart=no)\n"
    "  --name I:TEXT                label of plug-in I in the table\n"
    "  --set I:P=X                  parameter P (index or name) of plug-in I to normalised X\n"
    "  --set-display I:P=V          parameter P of plug-in I to the value displayed as V\n"
    "  --title TEXT                 heading of the table\n"
    "  --tsv                        also print 'result' lines: index, segment, median, min,\n"
    "                               max (ns per frame), label, block size, separated by tabs\n"
    "  --callgrind-report           read the dumps of a --count run and print the table\n";

namespace
{

// A whole number within low..high, written in any form strtod reads ("2", "1e3").
bool ParseCount(const std::string& text, int low, int high, int& value)
{
    double number = 0.0;
    if (!ParseDouble(text, number) || number != std::floor(number) || number < low || number > high)
        return false;
    value = static_cast<int>(number);
    return true;
}

// "I:REST" into the plug-in position and the rest.
bool SplitIndex(const std::string& text, std::size_t& index, std::string& rest)
{
    const std::size_t colon = text.find(':');
    int number = 0;
    if (colon == std::string::npos || !ParseCount(text.substr(0, colon), 0, 999, number))
        return false;
    index = static_cast<std::size_t>(number);
    rest = text.substr(colon + 1);
    return true;
}

// "I:P=X": the value follows the last '=' so that names may hold one.
bool ParseSetting(const std::string& text, bool byDisplay, ParameterSetting& setting)
{
    std::string rest;
    if (!SplitIndex(text, setting.plugin, rest))
        return false;
    const std::size_t equals = rest.find_last_of('=');
    if (equals == std::string::npos || equals == 0)
        return false;
    setting.key = rest.substr(0, equals);
    setting.byDisplay = byDisplay;
    return ParseDouble(rest.substr(equals + 1), setting.value);
}

// "N" or "N,N,...": block sizes in frames.
bool ParseBlocks(const std::string& text, std::vector<int32>& blocks)
{
    blocks.clear();
    std::size_t start = 0;
    while (start <= text.size())
    {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        int block = 0;
        if (!ParseCount(text.substr(start, comma - start), 1, kHostMaxBlockSize, block))
            return false;
        blocks.push_back(block);
        start = comma + 1;
    }
    return !blocks.empty();
}

// Applies option `arg` with its `value`; false with `error` when the value does not fit.
bool ApplyValueOption(const std::string& arg, const std::string& value, BenchOptions& options,
                      std::string& error)
{
    bool ok = true;
    if (arg == "--signal")
    {
        ok = value == "gating" || value == "silent-tail";
        options.silentTail = value == "silent-tail";
        if (!ok)
            error = "unknown signal " + value + " (gating or silent-tail)";
        return ok;
    }
    if (arg == "--seconds" || arg == "--silence")
    {
        double& target = arg == "--silence" ? options.silence : options.seconds;
        ok = ParseDouble(value, target) && target >= (arg == "--silence" ? 2.0 : 0.01) &&
             target <= 600.0;
    }
    else if (arg == "--rounds" || arg == "--warmup")
        ok = ParseCount(value, arg == "--rounds" ? 1 : 0, 100000,
                        arg == "--rounds" ? options.rounds : options.warmup);
    else if (arg == "--block" || arg == "--blocks")
        ok =
            ParseBlocks(value, options.blocks) && (arg == "--blocks" || options.blocks.size() == 1);
    else if (arg == "--title")
        options.title = value;
    else if (arg == "--name")
    {
        std::size_t index = 0;
        std::string name;
        if (!SplitIndex(value, index, name) || name.empty())
        {
            error = "bad --name " + value + " (I:TEXT)";
            return false;
        }
        options.names[index] = BenchLabel(name);
    }
    else
    {
        ParameterSetting setting;
        if (!ParseSetting(value, arg == "--set-display", setting))
        {
            error = "bad " + arg + " " + value + " (I:PARAMETER=VALUE)";
            return false;
        }
        options.settings.push_back(setting);
    }
    if (!ok)
        error = "bad " + arg + " value " + value;
    return ok;
}

bool TakesValue(const std::string& arg)
{
    for (const char* option :
         {"--signal", "--seconds", "--silence", "--block", "--blocks", "--rounds", "--warmup",
          "--title", "--name", "--set", "--set-display"})
    {
        if (arg == option)
            return true;
    }
    return false;
}

} // namespace

std::string BenchLabel(const std::string& text)
{
    std::string label = Printable(text);
    std::replace(label.begin(), label.end(), '|', '?');
    return label;
}

bool ParseBenchOptions(int argc, char** argv, BenchOptions& options, bool& help, std::string& error)
{
    help = false;
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
        {
            help = true;
            return true;
        }
        if (arg == "--callgrind-report")
            options.mode = BenchMode::Report;
        else if (arg == "--count")
            options.mode = BenchMode::Count;
        else if (arg == "--tsv")
            options.tsv = true;
        else if (TakesValue(arg))
        {
            if (i + 1 >= argc)
            {
                error = arg + " needs a value";
                return false;
            }
            if (!ApplyValueOption(arg, argv[++i], options, error))
                return false;
        }
        else if (arg.rfind("--", 0) == 0)
        {
            error = "unknown option " + arg;
            return false;
        }
        else
            options.files.push_back(arg);
    }
    if (options.files.empty())
    {
        error = options.mode == BenchMode::Report ? "no dump files given" : "no plug-in given";
        return false;
    }
    for (const ParameterSetting& setting : options.settings)
    {
        if (setting.plugin >= options.files.size())
        {
            error = "a setting names plug-in " + std::to_string(setting.plugin) + " of " +
                    std::to_string(options.files.size());
            return false;
        }
    }
    return true;
}

} // namespace vrn
