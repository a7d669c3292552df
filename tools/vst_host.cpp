// vsthost: loads one VST2 plug-in and runs commands on that instance (identity, parameters,
// chunks, rendering a WAV file, latency, raw dispatcher calls).
#include "tools/host_session.h"
#include "tools/wav_file.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;  // usage error, bad argument, command that cannot be carried out
constexpr int kExitLoad = 2;   // library not loadable or without entry point
constexpr int kExitEffect = 3; // entry point returned null or a record with a wrong magic
constexpr int kExitFile = 4;   // unreadable or malformed input file, unwritable output file

constexpr char kUsage[] =
    "usage: vsthost [options] PLUGIN COMMAND...\n"
    "options:\n"
    "  --rate HZ                 sample rate (default 48000)\n"
    "  --block N                 maximum block size, 1..65536 (default 512)\n"
    "  --precision float|double  processReplacing or processDoubleReplacing (default float)\n"
    "  --host-version N          answer to audioMasterVersion (default 2400)\n"
    "  --no-time-info            audioMasterGetTime answers 0\n"
    "  --tempo BPM               transport tempo (default 120)\n"
    "  --trace                   print every host callback to stderr\n"
    "commands:\n"
    "  info | params | latency | suspend | resume\n"
    "  get P | display P | set P X        P = index or name, X = normalised value\n"
    "  save-chunk FILE | load-chunk FILE\n"
    "  render IN.wav OUT.wav [--out f32|f64|s16]\n"
    "  process N                          N frames of silence\n"
    "  dispatch OPCODE INDEX VALUE OPT\n";

// A command name and the number of arguments that follow it.
struct CommandShape
{
    const char* name;
    int argumentCount;
};

constexpr CommandShape kCommands[] = {
    {"info", 0},       {"params", 0},     {"get", 1},    {"set", 2},     {"display", 1},
    {"save-chunk", 1}, {"load-chunk", 1}, {"render", 2}, {"latency", 0}, {"process", 1},
    {"dispatch", 4},   {"suspend", 0},    {"resume", 0},
};

/// One command of the command line, with its arguments checked and converted.
struct Command
{
    std::string name;
    std::vector<std::string> arguments;
    float value = 0.0f;          // set: X; dispatch: OPT
    std::uint64_t frames = 0;    // process: N
    int32 opcode = 0;            // dispatch
    int32 index = 0;             // dispatch
    intptr dispatchValue = 0;    // dispatch
    bool outFormatGiven = false; // render --out
    WavSampleFormat outFormat = WavSampleFormat::Float32;
};

struct ToolOptions
{
    HostSettings settings;
    bool trace = false;
    std::string plugin;
    std::vector<Command> commands;
};

void PrintLine(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
}

void PrintError(const std::string& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "vsthost: %s\n", message.c_str());
}

std::string Hex(std::uint32_t value)
{
    char text[16] = {};
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

std::string Format(const char* format, double value)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// Plug-in text as one printable line: control characters would break the line formats.
std::string Printable(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    return line;
}

bool IsPrintableText(const std::string& text)
{
    if (text.empty())
        return false;
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F)
            return false;
    }
    return true;
}

bool ParseInteger(const std::string& text, long long minimum, long long maximum, long long& out)
{
    if (text.empty() || !(text[0] == '-' || text[0] == '+' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || value < minimum || value > maximum)
        return false;
    out = value;
    return true;
}

// Any text strtof accepts, including nan and inf, so robustness tests can send them.
bool ParseFloat(const std::string& text, float& out)
{
    if (text.empty() || text[0] == ' ' || text[0] == '\t')
        return false;
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == nullptr || end == text.c_str() || *end != '\0')
        return false;
    out = value;
    return true;
}

bool ParsePositive(const std::string& text, double& out)
{
    if (text.empty() || text[0] == ' ' || text[0] == '\t')
        return false;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == nullptr || end == text.c_str() || *end != '\0' || !std::isfinite(value) ||
        value <= 0.0)
        return false;
    out = value;
    return true;
}

[[nodiscard]] bool CheckArguments(Command& command, std::string& error)
{
    const std::vector<std::string>& args = command.arguments;
    if (command.name == "set" && !ParseFloat(args[1], command.value))
    {
        error = "set: '" + args[1] + "' is not a number";
        return false;
    }
    if (command.name == "process")
    {
        long long frames = 0;
        if (!ParseInteger(args[0], 0, std::numeric_limits<long long>::max(), frames))
        {
            error = "process: '" + args[0] + "' is not a frame count";
            return false;
        }
        command.frames = static_cast<std::uint64_t>(frames);
    }
    if (command.name == "dispatch")
    {
        long long opcode = 0;
        long long index = 0;
        long long value = 0;
        constexpr long long kInt32Min = std::numeric_limits<int32>::min();
        constexpr long long kInt32Max = std::numeric_limits<int32>::max();
        if (!ParseInteger(args[0], kInt32Min, kInt32Max, opcode) ||
            !ParseInteger(args[1], kInt32Min, kInt32Max, index) ||
            !ParseInteger(args[2], std::numeric_limits<intptr>::min(),
                          std::numeric_limits<intptr>::max(), value) ||
            !ParseFloat(args[3], command.value))
        {
            error = "dispatch: OPCODE and INDEX must be 32-bit integers, VALUE a pointer-sized "
                    "integer and OPT a number";
            return false;
        }
        command.opcode = static_cast<int32>(opcode);
        command.index = static_cast<int32>(index);
        command.dispatchValue = static_cast<intptr>(value);
    }
    return true;
}

std::string BadValue(const std::string& option, const std::string& value)
{
    return "bad value '" + value + "' for " + option;
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
        long long number = 0;
        bool ok = true;
        if (option == "--rate")
            ok = ParsePositive(value, options.settings.sampleRate);
        else if (option == "--tempo")
            ok = ParsePositive(value, options.settings.tempo);
        else if (option == "--block")
        {
            ok = ParseInteger(value, 1, kHostMaxBlockSize, number);
            options.settings.maxBlockSize = static_cast<int32>(number);
        }
        else if (option == "--host-version")
        {
            ok = ParseInteger(value, std::numeric_limits<int32>::min(),
                              std::numeric_limits<int32>::max(), number);
            options.settings.hostVersion = static_cast<int32>(number);
        }
        else if (value == "float" || value == "double")
        {
            options.settings.precision =
                value == "double" ? ProcessPrecision::Double : ProcessPrecision::Float;
        }
        else
            ok = false;
        if (!ok)
        {
            error = BadValue(option, value);
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
    while (i < argc)
    {
        Command command;
        command.name = argv[i++];
        const CommandShape* shape = nullptr;
        for (const CommandShape& candidate : kCommands)
        {
            if (command.name == candidate.name)
                shape = &candidate;
        }
        if (shape == nullptr)
        {
            error = "unknown command '" + command.name + "'";
            return false;
        }
        if (argc - i < shape->argumentCount)
        {
            error = command.name + " needs " + std::to_string(shape->argumentCount) + " argument" +
                    (shape->argumentCount == 1 ? "" : "s");
            return false;
        }
        for (int a = 0; a < shape->argumentCount; ++a)
            command.arguments.emplace_back(argv[i++]);
        if (command.name == "render" && i < argc && std::strcmp(argv[i], "--out") == 0)
        {
            if (i + 1 >= argc || !ParseWavSampleFormat(argv[i + 1], command.outFormat))
            {
                error = "render --out needs f32, f64 or s16";
                return false;
            }
            command.outFormatGiven = true;
            i += 2;
        }
        if (!CheckArguments(command, error))
            return false;
        options.commands.push_back(std::move(command));
    }
    return true;
}

std::string FourChars(std::int32_t id)
{
    std::string text(4, '.');
    const auto bits = static_cast<std::uint32_t>(id);
    for (int i = 0; i < 4; ++i)
    {
        const auto c = static_cast<unsigned char>((bits >> (24 - 8 * i)) & 0xFF);
        if (c >= 0x20 && c < 0x7F)
            text[static_cast<std::size_t>(i)] = static_cast<char>(c);
    }
    return text;
}

void PrintInfo(HostSession& session)
{
    const AEffect& e = *session.Effect();
    PrintLine("magic: " + Hex(static_cast<std::uint32_t>(e.magic)));
    PrintLine("flags: " + Hex(static_cast<std::uint32_t>(e.flags)));
    PrintLine("numPrograms: " + std::to_string(e.numPrograms));
    PrintLine("numParams: " + std::to_string(e.numParams));
    PrintLine("numInputs: " + std::to_string(e.numInputs));
    PrintLine("numOutputs: " + std::to_string(e.numOutputs));
    PrintLine("initialDelay: " + std::to_string(e.initialDelay));
    PrintLine("uniqueID: " + FourChars(e.uniqueID) + " (" +
              Hex(static_cast<std::uint32_t>(e.uniqueID)) + ")");
    PrintLine("version: " + std::to_string(e.version));
    PrintLine("ioRatio: " + Format("%g", static_cast<double>(e.ioRatio)));
    PrintLine("effectName: " + Printable(session.QueryText(effGetEffectName)));
    PrintLine("vendor: " + Printable(session.QueryText(effGetVendorString)));
    PrintLine("product: " + Printable(session.QueryText(effGetProductString)));
    PrintLine("vendorVersion: " + std::to_string(session.Dispatch(effGetVendorVersion)));
    PrintLine("vstVersion: " + std::to_string(session.Dispatch(effGetVstVersion)));
    PrintLine("category: " + std::to_string(session.Dispatch(effGetPlugCategory)));
    PrintLine("programName: " + Printable(session.QueryText(effGetProgramName)));
    for (const char* feature : {"receiveVstMidiEvent", "receiveVstEvents", "sendVstEvents"})
        PrintLine(std::string("canDo ") + feature + ": " + std::to_string(session.CanDo(feature)));
    // Re-read the record: the calls above may have changed it.
    if ((session.Effect()->flags & effFlagsHasEditor) != 0)
    {
        ERect* rect = nullptr;
        session.Dispatch(effEditGetRect, 0, 0, &rect);
        if (rect != nullptr)
        {
            PrintLine("editorRect: " + std::to_string(rect->right - rect->left) + "x" +
                      std::to_string(rect->bottom - rect->top));
        }
        else
            PrintLine("editorRect: none");
    }
}

void PrintParameter(HostSession& session, int32 index)
{
    const std::string label = Printable(session.ParameterLabel(index));
    PrintLine(Printable(session.ParameterName(index)) + " = " +
              Format("%.9g", static_cast<double>(session.GetParameter(index))) + " (" +
              Printable(session.ParameterDisplay(index)) + (label.empty() ? "" : " " + label) +
              ")");
}

[[nodiscard]] int ResolveParameter(HostSession& session, const std::string& key, int32& index)
{
    index = session.FindParameter(key);
    if (index < 0)
    {
        PrintError("unknown parameter '" + key + "' (" + std::to_string(session.NumParameters()) +
                   " parameters)");
        return kExitUsage;
    }
    return kExitOk;
}

[[nodiscard]] int SaveChunk(HostSession& session, const std::string& path)
{
    std::vector<unsigned char> bytes;
    std::string error;
    if (!session.GetChunk(bytes, error))
    {
        PrintError("save-chunk: " + error);
        return kExitUsage;
    }
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        PrintError("cannot create " + path + ": " + std::strerror(errno));
        return kExitFile;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
    {
        PrintError("cannot write " + path);
        return kExitFile;
    }
    PrintLine("chunk: " + std::to_string(bytes.size()) + " bytes");
    return kExitOk;
}

[[nodiscard]] int LoadChunk(HostSession& session, const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
    {
        PrintError("cannot open " + path + ": " + std::strerror(errno));
        return kExitFile;
    }
    std::vector<unsigned char> bytes;
    unsigned char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
    {
        PrintError("cannot read " + path);
        return kExitFile;
    }
    PrintLine("setChunk: " + std::to_string(session.SetChunk(bytes)));
    return kExitOk;
}

[[nodiscard]] int Render(HostSession& session, const Command& command)
{
    const std::string& inPath = command.arguments[0];
    const std::string& outPath = command.arguments[1];
    WavAudio input;
    const WavStatus read = ReadWav(inPath, input);
    if (!read.ok)
    {
        PrintError(read.message);
        return kExitFile;
    }
    const AEffect& e = *session.Effect();
    if (e.numOutputs <= 0)
    {
        PrintError("render: the plug-in has no outputs");
        return kExitUsage;
    }
    const double rate = session.Settings().sampleRate;
    if (static_cast<double>(input.sampleRate) != rate)
    {
        PrintError("warning: " + inPath + " is " + std::to_string(input.sampleRate) +
                   " Hz, processing at " + Format("%g", rate) + " Hz");
    }
    const std::size_t fileChannels = input.channels.size();
    const auto numInputs = static_cast<std::size_t>(std::max(e.numInputs, int32{0}));
    if (fileChannels > numInputs && !(fileChannels == 1 && numInputs == 2))
    {
        PrintError("warning: " + inPath + " has " + std::to_string(fileChannels) +
                   " channels, the plug-in " + std::to_string(numInputs) +
                   " inputs: extra channels dropped");
    }

    WavAudio output;
    output.sampleRate = input.sampleRate;
    std::string error;
    if (!session.Render(MapInputChannels(input.channels, e.numInputs), input.Frames(),
                        output.channels, error))
    {
        PrintError("render: " + error);
        return kExitUsage;
    }
    const WavSampleFormat format = command.outFormatGiven ? command.outFormat
                                   : session.Settings().precision == ProcessPrecision::Double
                                       ? WavSampleFormat::Float64
                                       : WavSampleFormat::Float32;
    const WavStatus written = WriteWav(outPath, output, format);
    if (!written.ok)
    {
        PrintError(written.message);
        return kExitFile;
    }
    PrintLine("rendered: " + std::to_string(input.Frames()) +
              " frames, latency: " + std::to_string(session.Latency()));
    return kExitOk;
}

[[nodiscard]] int RunCommand(HostSession& session, const Command& command)
{
    if (!session.IsOpen())
    {
        PrintError(command.name + ": the instance has been closed");
        return kExitUsage;
    }
    const std::string& name = command.name;
    if (name == "info")
    {
        PrintInfo(session);
        return kExitOk;
    }
    if (name == "params")
    {
        for (int32 i = 0; i < session.NumParameters(); ++i)
        {
            PrintLine(std::to_string(i) + "\t" + Printable(session.ParameterName(i)) + "\t" +
                      Format("%.6f", static_cast<double>(session.GetParameter(i))) + "\t" +
                      Printable(session.ParameterDisplay(i)) + "\t" +
                      Printable(session.ParameterLabel(i)));
        }
        return kExitOk;
    }
    if (name == "get" || name == "set" || name == "display")
    {
        int32 index = -1;
        if (const int code = ResolveParameter(session, command.arguments[0], index); code != 0)
            return code;
        if (name == "display")
        {
            PrintLine(Printable(session.ParameterDisplay(index)));
            return kExitOk;
        }
        if (name == "set")
            session.SetParameter(index, command.value);
        PrintParameter(session, index);
        return kExitOk;
    }
    if (name == "save-chunk")
        return SaveChunk(session, command.arguments[0]);
    if (name == "load-chunk")
        return LoadChunk(session, command.arguments[0]);
    if (name == "render")
        return Render(session, command);
    if (name == "latency")
    {
        PrintLine("latency: " + std::to_string(session.Latency()));
        return kExitOk;
    }
    if (name == "process")
    {
        std::string error;
        if (!session.ProcessSilence(command.frames, error))
        {
            PrintError("process: " + error);
            return kExitUsage;
        }
        return kExitOk;
    }
    if (name == "dispatch")
    {
        std::string text;
        const intptr answer = session.DispatchWithScratch(
            command.opcode, command.index, command.dispatchValue, command.value, text);
        PrintLine("answer: " + std::to_string(answer));
        if (IsPrintableText(text))
            PrintLine("text: " + text);
        return kExitOk;
    }
    if (name == "suspend")
        session.Suspend();
    else
        session.Resume();
    return kExitOk;
}

int RunTool(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h")
        {
            std::fputs(kUsage, stdout);
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
    for (const Command& command : options.commands)
    {
        const int code = RunCommand(session, command);
        if (code != kExitOk)
        {
            session.Close();
            return code;
        }
    }
    session.Close();
    std::fflush(stdout);
    return kExitOk;
}

} // namespace
} // namespace vrn

int main(int argc, char** argv)
{
    try
    {
        return vrn::RunTool(argc, argv);
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "vsthost: error: %s\n", e.what());
    }
    catch (...)
    {
        std::fprintf(stderr, "vsthost: unknown error\n");
    }
    return vrn::kExitUsage;
}
