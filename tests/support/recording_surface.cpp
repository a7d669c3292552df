// The recording drawing surface.
#include "tests/support/recording_surface.h"

#include "editor/font_desc.h"
#include "editor/platform.h"

#include <cmath>
#include <cstdio>

namespace vrn::testing
{

std::string Num(double value)
{
    char text[64];
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        std::snprintf(text, sizeof text, "%.0f", value);
    else
    {
        std::snprintf(text, sizeof text, "%.4f", value);
        std::string s = text;
        while (!s.empty() && s.back() == '0')
            s.pop_back();
        return s;
    }
    return text;
}

std::string Color(ViewColor c)
{
    return Num(c.red) + "," + Num(c.green) + "," + Num(c.blue) + "," + Num(c.alpha);
}

void RecordingSurface::setPenColor(ViewColor color)
{
    add("penColor " + Color(color));
}

void RecordingSurface::setPenWidth(float width)
{
    add("penWidth " + Num(width));
}

void RecordingSurface::setPenDotted(bool dotted)
{
    add(dotted ? "penDotted" : "penSolid");
}

void RecordingSurface::setFillColor(ViewColor color)
{
    add("fillColor " + Color(color));
}

void RecordingSurface::setFontColor(ViewColor color)
{
    add("fontColor " + Color(color));
}

void RecordingSurface::setAntiAlias(bool antiAlias)
{
    add(antiAlias ? "antiAlias on" : "antiAlias off");
}

void RecordingSurface::setClip(int x, int y, int width, int height)
{
    add("clip " + Num(x) + " " + Num(y) + " " + Num(width) + " " + Num(height));
}

void RecordingSurface::drawLine(int x0, int y0, int x1, int y1)
{
    add("line " + Num(x0) + " " + Num(y0) + " " + Num(x1) + " " + Num(y1));
}

void RecordingSurface::fillRect(float x, float y, float width, float height)
{
    add("fillRect " + Num(x) + " " + Num(y) + " " + Num(width) + " " + Num(height));
}

void RecordingSurface::strokeRect(float x, float y, float width, float height)
{
    add("strokeRect " + Num(x) + " " + Num(y) + " " + Num(width) + " " + Num(height));
}

void RecordingSurface::fillEllipse(int x, int y, int width, int height)
{
    add("fillEllipse " + Num(x) + " " + Num(y) + " " + Num(width) + " " + Num(height));
}

void RecordingSurface::strokeEllipse(int x, int y, int width, int height)
{
    add("strokeEllipse " + Num(x) + " " + Num(y) + " " + Num(width) + " " + Num(height));
}

void RecordingSurface::drawArc(float x, float y, float width, float height, float start,
                               float sweep, bool fill, bool stroke)
{
    add(std::string("arc ") + Num(x) + " " + Num(y) + " " + Num(width) + " " + Num(height) +
        " start " + Num(start) + " sweep " + Num(sweep) + (fill ? " fill" : "") +
        (stroke ? " stroke" : ""));
}

void RecordingSurface::drawPolygon(const float* xy, int count, bool fill, bool stroke, bool closed)
{
    std::string line = "polygon";
    for (int i = 0; i < 2 * count; ++i)
        line += " " + Num(xy[i]);
    line +=
        std::string(fill ? " fill" : "") + (stroke ? " stroke" : "") + (closed ? " closed" : "");
    add(line);
}

double RecordingSurface::stringWidth(std::string_view text, CFontDesc&)
{
    return characterWidth * static_cast<double>(text.size());
}

double RecordingSurface::fontHeight(CFontDesc& font)
{
    return font.getSize();
}

void RecordingSurface::drawString(std::string_view text, CFontDesc& font, float x, float y,
                                  bool antiAlias)
{
    add("string \"" + std::string(text) + "\" " + font.getName() + " " + Num(font.getSize()) +
        " style " + Num(font.getStyle()) + " at " + Num(x) + " " + Num(y) +
        (antiAlias ? " aa" : ""));
}

void RecordingSurface::drawBitmap(PlatformBitmap& bitmap, int x, int y, int width, int height,
                                  int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                                  std::uint8_t alpha)
{
    double w = 0, h = 0;
    editor_platform::BitmapSize(bitmap, w, h);
    // The source's size only where it differs from the destination's (a scaled drawing).
    const std::string scaled = sourceWidth == width && sourceHeight == height
                                   ? std::string()
                                   : " size " + Num(sourceWidth) + " " + Num(sourceHeight);
    add("bitmap " + Num(w) + "x" + Num(h) + " to " + Num(x) + " " + Num(y) + " " + Num(width) +
        " " + Num(height) + " from " + Num(sourceX) + " " + Num(sourceY) + scaled + " alpha " +
        Num(alpha));
}

} // namespace vrn::testing
