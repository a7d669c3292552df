#pragma once
// Font, graphics and mouse layers of the effect object: the editor's drawing and input state.

#include "runtime/files.h"

namespace vrn
{

/// Adds the font table's state.
class CXaltoFonts : public CXaltoFiles
{
public:
    double textHeight = 0.0; ///< current text height, pixels
};

/// Adds the drawing state.
class CXaltoGraphics : public CXaltoFonts
{
public:
    double penX = 0.0;      ///< pen position, pixels
    double penY = 0.0;      ///< pen position, pixels
    double frameRate = 0.0; ///< wanted editor redraws per second; 0 = no timed redraw
    double colorRed = 0.0;  ///< drawing colour channels, 0..1
    double colorGreen = 0.0;
    double colorBlue = 0.0;
    double colorAlpha = 0.0;
};

/// Adds the mouse state.
class CXaltoMouse : public CXaltoGraphics
{
public:
    double mouseButtons = 0.0; ///< button bit set
    double mouseX = 0.0;       ///< pixels from the editor's left
    double mouseY = 0.0;       ///< pixels from the editor's top
};

} // namespace vrn
