#pragma once
// The fake plug-in's test editor: a child window that paints a known picture and records the
// mouse messages it receives. Only Windows builds have one; elsewhere opening it fails.

#include <string>

namespace vrn
{

struct FakeEditor;

/// Size of the editor (pixels).
constexpr int kFakeEditorWidth = 320;
constexpr int kFakeEditorHeight = 200;

/// Opens the editor as a child window of the host's window `parent`. A press or a move with the
/// left button held sets `*gain` to x / width; each wheel notch (120) adds 0.1. Null when there
/// is no window back end or the window cannot be made.
FakeEditor* OpenFakeEditor(void* parent, float* gain);

/// One idle call from the host.
void IdleFakeEditor(FakeEditor* editor);

/// Destroys the window; null is ignored.
void CloseFakeEditor(FakeEditor* editor);

/// "idles=N paints=N events=E;E;..." with the latest events that fit: each "down|up|move|wheel
/// X,Y 0xKEYS" (client coordinates, the message's key flags) and, for the wheel, its delta.
std::string FakeEditorReport(const FakeEditor* editor);

} // namespace vrn
