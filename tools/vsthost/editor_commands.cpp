// The host tool's editor commands: rows of the command table that open the plug-in's editor in
// a window of the tool's own, idle it, time its frames, save a PNG of it and send it real mouse
// input. The window and the input are the platform's (tools/vsthost/<platform>/host_window_*).
#include "tools/command_line.h"
#include "tools/hosting/wav_file.h"
#include "tools/vsthost/command_table.h"
#include "tools/vsthost/editor_window.h"
#include "tools/vsthost/frame_statistics.h"

#include <algorithm>
#include <cstdio>
#include <memory>

namespace vrn
{
namespace
{

constexpr long long kMaxIdleMilliseconds = 3600000;
constexpr long long kCoordinate = 32767;
constexpr int kDragSteps = 8;
// Editors that sample the mouse once per frame (about every 33 ms) see each step of a drag
// when the steps are this far apart, as they would see a hand on the mouse.
constexpr int kDragPauseMilliseconds = 50;

// Converts the first `count` arguments to integers within low..high.
bool ParseIntegers(Command& command, std::size_t count, long long low, long long high,
                   const char* what, std::string& error)
{
    for (std::size_t i = 0; i < count; ++i)
    {
        long long value = 0;
        if (!ParseInteger(command.arguments[i], low, high, value))
        {
            error =
                std::string(command.row->name) + ": '" + command.arguments[i] + "' is not " + what;
            return false;
        }
        command.integers.push_back(value);
    }
    return true;
}

// Coordinates (and a wheel delta), then any of the optional words shift and control; the keys
// held go last into `integers`.
bool ParseMouse(Command& command, CommandWords& more, std::string& error)
{
    if (!ParseIntegers(command, command.arguments.size(), -kCoordinate, kCoordinate, "a coordinate",
                       error))
        return false;
    long long keys = 0;
    for (;;)
    {
        if (more.Take("shift"))
            keys |= kKeyShift;
        else if (more.Take("control"))
            keys |= kKeyControl;
        else
            break;
    }
    command.integers.push_back(keys);
    return true;
}

bool ParseIdle(Command& command, CommandWords& more, std::string& error)
{
    if (!ParseIntegers(command, 1, 0, kMaxIdleMilliseconds, "a time in ms", error))
        return false;
    if (!more.Take("--play"))
        return true;
    std::string file;
    if (!more.TakeAny(file))
    {
        error = "editor-idle --play needs a WAV file";
        return false;
    }
    command.optional.push_back(file);
    return true;
}

// The open editor; null after printing why there is none.
EditorWindow* OpenEditor(CommandContext& context, const Command& command)
{
    auto* editor = dynamic_cast<EditorWindow*>(context.openState.get());
    if (editor == nullptr)
        PrintError(std::string(command.row->name) + ": no editor is open (editor-open first)");
    return editor;
}

int RunEditorOpen(CommandContext& context, const Command& /*command*/)
{
    if (dynamic_cast<EditorWindow*>(context.openState.get()) != nullptr)
    {
        PrintError("editor-open: the editor is open already");
        return kExitUsage;
    }
    auto editor = std::make_unique<EditorWindow>(context.session);
    std::string error;
    if (!editor->Open(error))
    {
        PrintError("editor-open: " + error);
        return kExitUsage;
    }
    PrintLine("editor: " + std::to_string(editor->Width()) + "x" +
              std::to_string(editor->Height()));
    context.openState = std::move(editor);
    return kExitOk;
}

int RunEditorIdle(CommandContext& context, const Command& command)
{
    EditorWindow* editor = OpenEditor(context, command);
    if (editor == nullptr)
        return kExitUsage;
    IdleSignal signal;
    if (!command.optional.empty())
    {
        WavAudio audio;
        const WavStatus read = ReadWav(command.optional[0], audio);
        if (!read.ok || audio.Frames() == 0)
        {
            PrintError(read.ok ? command.optional[0] + " holds no audio" : read.message);
            return kExitFile;
        }
        signal.frames = audio.Frames();
        signal.channels = std::move(audio.channels);
    }
    int idles = 0;
    std::string error;
    if (!editor->Idle(static_cast<int>(command.integers[0]),
                      command.optional.empty() ? nullptr : &signal, idles, error))
    {
        PrintError("editor-idle: " + error);
        return kExitUsage;
    }
    PrintLine("idle: " + std::to_string(command.integers[0]) + " ms, " + std::to_string(idles) +
              " idle calls");
    return kExitOk;
}

int RunEditorPng(CommandContext& context, const Command& command)
{
    EditorWindow* editor = OpenEditor(context, command);
    if (editor == nullptr)
        return kExitUsage;
    std::string error;
    if (!editor->SavePng(command.arguments[0], error))
    {
        PrintError("editor-png: " + error);
        return kExitFile;
    }
    PrintLine("png: " + command.arguments[0] + " " + std::to_string(editor->Width()) + "x" +
              std::to_string(editor->Height()));
    return kExitOk;
}

int RunEditorBench(CommandContext& context, const Command& command)
{
    EditorWindow* editor = OpenEditor(context, command);
    if (editor == nullptr)
        return kExitUsage;
    std::vector<double> ms;
    long allocations = -1;
    std::string error;
    if (!editor->TimePaints(static_cast<int>(command.integers[0]), ms, allocations, error))
    {
        PrintError("editor-bench: " + error);
        return kExitUsage;
    }
    PrintLine(FrameCostLine(SummariseFrames(ms), allocations));
    return kExitOk;
}

// Makes one mouse event happen; the keys held are the command's last integer.
int SendMouse(CommandContext& context, const Command& command, MouseInput::Kind kind, int x, int y,
              bool buttonDown, int delta)
{
    EditorWindow* editor = OpenEditor(context, command);
    if (editor == nullptr)
        return kExitUsage;
    MouseInput input;
    input.kind = kind;
    input.x = x;
    input.y = y;
    input.keys = static_cast<int>(command.integers.back());
    input.buttonDown = buttonDown;
    input.wheelDelta = delta;
    std::string error;
    if (!editor->Mouse(input, error))
    {
        PrintError(std::string(command.row->name) + ": " + error);
        return kExitUsage;
    }
    return kExitOk;
}

int Coordinate(const Command& command, std::size_t i)
{
    return static_cast<int>(command.integers[i]);
}

int RunMouseMove(CommandContext& context, const Command& command)
{
    return SendMouse(context, command, MouseInput::kMove, Coordinate(command, 0),
                     Coordinate(command, 1), false, 0);
}

int RunMouseDown(CommandContext& context, const Command& command)
{
    return SendMouse(context, command, MouseInput::kLeftDown, Coordinate(command, 0),
                     Coordinate(command, 1), true, 0);
}

int RunMouseUp(CommandContext& context, const Command& command)
{
    return SendMouse(context, command, MouseInput::kLeftUp, Coordinate(command, 0),
                     Coordinate(command, 1), false, 0);
}

// Makes one mouse event happen, then idles the editor for the drag's pause.
int DragStep(CommandContext& context, const Command& command, MouseInput::Kind kind, int x, int y,
             bool buttonDown)
{
    const int code = SendMouse(context, command, kind, x, y, buttonDown, 0);
    if (code != kExitOk)
        return code;
    int idles = 0;
    std::string error;
    if (!OpenEditor(context, command)->Idle(kDragPauseMilliseconds, nullptr, idles, error))
    {
        PrintError(std::string(command.row->name) + ": " + error);
        return kExitUsage;
    }
    return kExitOk;
}

int RunMouseDrag(CommandContext& context, const Command& command)
{
    const int x0 = Coordinate(command, 0);
    const int y0 = Coordinate(command, 1);
    const int x1 = Coordinate(command, 2);
    const int y1 = Coordinate(command, 3);
    // The pointer arrives over the start and rests there before the press, as a hand's would:
    // two moves, because a view tree may only note the pointer entering at the first one.
    int code = DragStep(context, command, MouseInput::kMove, x0, y0, false);
    if (code == kExitOk)
        code = DragStep(context, command, MouseInput::kMove, x0, y0, false);
    if (code == kExitOk)
        code = DragStep(context, command, MouseInput::kLeftDown, x0, y0, true);
    for (int step = 1; code == kExitOk && step <= kDragSteps; ++step)
        code = DragStep(context, command, MouseInput::kMove, x0 + (x1 - x0) * step / kDragSteps,
                        y0 + (y1 - y0) * step / kDragSteps, true);
    return code == kExitOk ? DragStep(context, command, MouseInput::kLeftUp, x1, y1, false) : code;
}

int RunWheel(CommandContext& context, const Command& command)
{
    return SendMouse(context, command, MouseInput::kWheel, Coordinate(command, 0),
                     Coordinate(command, 1), false, Coordinate(command, 2));
}

int RunEditorClose(CommandContext& context, const Command& command)
{
    if (OpenEditor(context, command) == nullptr)
        return kExitUsage;
    context.openState.reset();
    return kExitOk;
}

} // namespace

std::vector<CommandRow> EditorCommandRows()
{
    // name, arguments, help, argument count, parser, action
    return {
        {"editor-open", "", "opens the editor in a window of its own", 0, nullptr, RunEditorOpen},
        {"editor-idle", "MS [--play IN.wav]",
         "idles MS ms: effEditIdle every 10 ms, IN.wav played meanwhile", 1, ParseIdle,
         RunEditorIdle},
        {"editor-bench", "N", "repaints the editor N times at once, timing each paint", 1,
         [](Command& c, CommandWords&, std::string& e)
         { return ParseIntegers(c, 1, 1, 100000, "a frame count", e); },
         RunEditorBench},
        {"editor-png", "FILE", "saves the editor as it shows on screen as a PNG", 1, nullptr,
         RunEditorPng},
        {"mouse-move", "X Y [shift|control]", "moves the mouse to editor point X,Y", 2, ParseMouse,
         RunMouseMove},
        {"mouse-down", "X Y [shift|control]", "presses the left button at X,Y", 2, ParseMouse,
         RunMouseDown},
        {"mouse-up", "X Y [shift|control]", "releases the left button at X,Y", 2, ParseMouse,
         RunMouseUp},
        {"mouse-drag", "X0 Y0 X1 Y1 [shift|control]",
         "rests at X0,Y0, presses, moves to X1,Y1 in 8 steps, releases; 50 ms between steps", 4,
         ParseMouse, RunMouseDrag},
        {"wheel", "X Y DELTA [shift|control]", "turns the wheel at X,Y (120 a notch)", 3,
         ParseMouse, RunWheel},
        {"editor-close", "", "closes the editor and its window", 0, nullptr, RunEditorClose},
    };
}

} // namespace vrn
