// The host tool's commands on the instance itself: its record, parameters, state, raw calls.
#include "tools/command_line.h"
#include "tools/vsthost/command_actions.h"

#include <cstdint>
#include <cstdio>

namespace vrn
{
namespace
{

std::string Hex(std::uint32_t value)
{
    char text[16] = {};
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(value));
    return text;
}

// The four characters of a unique ID, unprintable ones shown as '.'.
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

void PrintParameter(HostSession& session, int32 index)
{
    const std::string label = Printable(session.ParameterLabel(index));
    PrintLine(Printable(session.ParameterName(index)) + " = " +
              Format("%.9g", static_cast<double>(session.GetParameter(index))) + " (" +
              Printable(session.ParameterDisplay(index)) + (label.empty() ? "" : " " + label) +
              ")");
}

// Runs `then(index)` on the parameter the command's first argument names, or prints why there is
// no such parameter.
template <typename Then>
int OnParameter(HostSession& session, const Command& command, Then then)
{
    const std::string& key = command.arguments[0];
    const int32 index = session.FindParameter(key);
    if (index < 0)
    {
        PrintError("unknown parameter '" + key + "' (" + std::to_string(session.NumParameters()) +
                   " parameters)");
        return kExitUsage;
    }
    then(index);
    return kExitOk;
}

} // namespace

int RunInfo(CommandContext& context, const Command& /*command*/)
{
    HostSession& session = context.session;
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
    return kExitOk;
}

int RunParams(CommandContext& context, const Command& /*command*/)
{
    HostSession& session = context.session;
    for (int32 i = 0; i < session.NumParameters(); ++i)
    {
        PrintLine(std::to_string(i) + "\t" + Printable(session.ParameterName(i)) + "\t" +
                  Format("%.6f", static_cast<double>(session.GetParameter(i))) + "\t" +
                  Printable(session.ParameterDisplay(i)) + "\t" +
                  Printable(session.ParameterLabel(i)));
    }
    return kExitOk;
}

int RunGet(CommandContext& context, const Command& command)
{
    HostSession& session = context.session;
    return OnParameter(session, command, [&](int32 index) { PrintParameter(session, index); });
}

int RunSet(CommandContext& context, const Command& command)
{
    HostSession& session = context.session;
    return OnParameter(session, command,
                       [&](int32 index)
                       {
                           session.SetParameter(index, static_cast<float>(command.numbers[0]));
                           PrintParameter(session, index);
                       });
}

int RunDisplay(CommandContext& context, const Command& command)
{
    HostSession& session = context.session;
    return OnParameter(session, command,
                       [&](int32 index) { PrintLine(Printable(session.ParameterDisplay(index))); });
}

int RunLatency(CommandContext& context, const Command& /*command*/)
{
    PrintLine("latency: " + std::to_string(context.session.Latency()));
    return kExitOk;
}

int RunSuspend(CommandContext& context, const Command& /*command*/)
{
    context.session.Suspend();
    return kExitOk;
}

int RunResume(CommandContext& context, const Command& /*command*/)
{
    context.session.Resume();
    return kExitOk;
}

int RunDispatch(CommandContext& context, const Command& command)
{
    std::string text;
    const intptr answer = context.session.DispatchWithScratch(
        static_cast<int32>(command.integers[0]), static_cast<int32>(command.integers[1]),
        static_cast<intptr>(command.integers[2]), static_cast<float>(command.numbers[0]), text);
    PrintLine("answer: " + std::to_string(answer));
    if (IsPrintableText(text))
        PrintLine("text: " + text);
    return kExitOk;
}

} // namespace vrn
