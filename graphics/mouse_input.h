#pragma once
// The effect's mouse handlers: the editor view's mouse events become the effect's mouse state.

#include "editor/view_types.h"

namespace vrn
{

class CXaltoMouse;

/// The effect's button bits for the editor's ButtonState: left 1, right 2, control 4, shift 8,
/// alt 16, middle 64; other bits (double click, further buttons) are dropped.
double MouseButtonsFromState(ButtonState buttons);

// --- UI thread. Each handler also raises frameRate to at least 30, so the editor redraws
// while the user works it even before the effect asked for redraws.

/// Press: position and buttons (with the modifiers held now, kept for the whole drag).
void mouseDown(CXaltoMouse& effect, double x, double y, ButtonState buttons);
/// Release: position; no button down.
void mouseUp(CXaltoMouse& effect, double x, double y);
/// Move: position only; the buttons stay as the last press or release left them.
void mouseMoved(CXaltoMouse& effect, double x, double y);

} // namespace vrn
