#pragma once
// A drawing surface that records every call as one line of text, for tests of what is drawn.

#include "editor/draw_surface.h"

#include <string>
#include <vector>

namespace vrn::testing
{

/// Records calls like "fillRect 10 20 30 40" and "bitmap 32x32 to 10 20 32 32 from 0 0 alpha
/// 255" (with "size W H" before "alpha" for a scaled drawing). Text metrics are fixed: every byte
/// is `charWidth` pixels wide and a font's height is its size.
class RecordingSurface : public DrawSurface
{
public:
    explicit RecordingSurface(std::vector<std::string>& log, double charWidth = 7.0)
        : calls(log), characterWidth(charWidth)
    {
    }

    void setPenColor(ViewColor color) override;
    void setPenWidth(float width) override;
    void setPenDotted(bool dotted) override;
    void setFillColor(ViewColor color) override;
    void setFontColor(ViewColor color) override;
    void setAntiAlias(bool antiAlias) override;
    void setClip(int x, int y, int width, int height) override;
    void drawLine(int x0, int y0, int x1, int y1) override;
    void fillRect(float x, float y, float width, float height) override;
    void strokeRect(float x, float y, float width, float height) override;
    void fillEllipse(int x, int y, int width, int height) override;
    void strokeEllipse(int x, int y, int width, int height) override;
    void drawArc(float x, float y, float width, float height, float startDegrees,
                 float sweepDegrees, bool fill, bool stroke) override;
    void drawPolygon(const float* xy, int count, bool fill, bool stroke, bool closed) override;
    double stringWidth(std::string_view text, CFontDesc& font) override;
    double fontHeight(CFontDesc& font) override;
    void drawString(std::string_view text, CFontDesc& font, float x, float y,
                    bool antiAlias) override;
    void drawBitmap(PlatformBitmap& bitmap, int x, int y, int width, int height, int sourceX,
                    int sourceY, int sourceWidth, int sourceHeight, std::uint8_t alpha) override;

private:
    void add(const std::string& line) { calls.push_back(line); }

    std::vector<std::string>& calls;
    double characterWidth;
};

/// Formats a number as the recording does: integers without a fraction, others with up to
/// 4 decimals ("12", "12.5").
std::string Num(double value);
/// "r,g,b,a".
std::string Color(ViewColor color);

} // namespace vrn::testing
