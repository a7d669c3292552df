#pragma once
// Font, graphics and mouse layers of the effect object: the editor's drawing and input state.
// Values the effect's drawing code reads and writes on the UI thread; those the init section
// also sets from a host thread (frame rate, colour) are shared doubles. The tables of images
// and fonts that hold editor objects live in the graphics runtime, which the effect owns.

#include "runtime/files.h"
#include "runtime/shared_value.h"

namespace vrn
{

/// Adds the font state.
class CXaltoFonts : public CXaltoFiles
{
public:
    double textHeight = 0.0; ///< line height of text drawing, pixels
    double fontIndex = 0.0;  ///< number of the current font slot
};

/// Adds the drawing state.
class CXaltoGraphics : public CXaltoFonts
{
public:
    double penX = 0.0;      ///< pen position, pixels from the editor's left
    double penY = 0.0;      ///< pen position, pixels from the editor's top
    SharedDouble frameRate; ///< wanted editor redraws per second; 0 = no timed redraw
    SharedDouble colorRed;  ///< drawing colour channels, 0..1
    SharedDouble colorGreen;
    SharedDouble colorBlue;
    SharedDouble colorAlpha; ///< opacity, 0..1
    double viewWidth = 0.0;  ///< editor size, pixels (copied at every frame start)
    double viewHeight = 0.0;
    double clearColor = 0.0; ///< 0xBBGGRR the view is cleared with before a frame; 0 = none
};

/// Adds the mouse state.
class CXaltoMouse : public CXaltoGraphics
{
public:
    double mouseButtons = 0.0; ///< bit set: 1 left, 2 right, 4 control, 8 shift, 16 alt, 64 middle
    double mouseX = 0.0;       ///< pixels from the editor's left
    double mouseY = 0.0;       ///< pixels from the editor's top
    double frameButtons = 0.0; ///< mouseButtons as the current frame started
    double frameMouseX = 0.0;  ///< mouseX as the current frame started
    double frameMouseY = 0.0;  ///< mouseY as the current frame started
};

} // namespace vrn
