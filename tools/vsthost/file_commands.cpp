// The host tool's commands that move data through the instance: chunks, rendering, processing.
#include "tools/command_line.h"
#include "tools/hosting/wav_file.h"
#include "tools/vsthost/command_actions.h"

#include <algorithm>

namespace vrn
{

int RunSaveChunk(CommandContext& context, const Command& command)
{
    std::vector<unsigned char> bytes;
    std::string error;
    if (!context.session.GetChunk(bytes, error))
    {
        PrintError("save-chunk: " + error);
        return kExitUsage;
    }
    if (!WriteFile(command.arguments[0], bytes, error))
    {
        PrintError(error);
        return kExitFile;
    }
    PrintLine("chunk: " + std::to_string(bytes.size()) + " bytes");
    return kExitOk;
}

int RunLoadChunk(CommandContext& context, const Command& command)
{
    std::vector<unsigned char> bytes;
    std::string error;
    if (!ReadFile(command.arguments[0], bytes, error))
    {
        PrintError(error);
        return kExitFile;
    }
    PrintLine("setChunk: " + std::to_string(context.session.SetChunk(bytes)));
    return kExitOk;
}

int RunRender(CommandContext& context, const Command& command)
{
    HostSession& session = context.session;
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
    WavSampleFormat format = session.Settings().precision == ProcessPrecision::Double
                                 ? WavSampleFormat::Float64
                                 : WavSampleFormat::Float32;
    if (!command.optional.empty() && !ParseWavSampleFormat(command.optional[0], format))
        return kExitUsage; // checked by the parser already
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

int RunProcess(CommandContext& context, const Command& command)
{
    std::string error;
    if (!context.session.ProcessSilence(static_cast<std::uint64_t>(command.integers[0]), error))
    {
        PrintError("process: " + error);
        return kExitUsage;
    }
    return kExitOk;
}

} // namespace vrn
