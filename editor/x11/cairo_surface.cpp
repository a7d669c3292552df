// Drawing with cairo.
#include "editor/x11/cairo_surface.h"

#include "editor/font_desc.h"
#include "editor/x11/platform_objects.h"

#include <cmath>
#include <cstddef>

namespace vrn
{

namespace
{
// The Windows surface's pixel centres lie on whole coordinates, cairo's half a pixel further:
// shapes move by this much to cover the same pixels.
constexpr double kPixelCentre = 0.5;
constexpr double kPi = 3.14159265358979323846;
// Text layout keeps this share of the font size free on either side of the text, as on Windows.
constexpr double kTextMarginPerSize = 1.0 / 6.0;
// Glyphs of one text laid out without allocating (longer texts let cairo allocate).
constexpr int kGlyphBuffer = 64;

double Channel(std::uint8_t value)
{
    return value / 255.0;
}

double Radians(double degrees)
{
    return degrees * kPi / 180.0;
}

// The glyphs of one text, in the buffer when they fit.
struct GlyphRun
{
    cairo_glyph_t buffer[kGlyphBuffer] = {};
    cairo_glyph_t* glyphs = buffer;
    int count = kGlyphBuffer;
    double advance = 0.0; ///< pixels from the first glyph's origin to the end of the text

    GlyphRun() = default;
    GlyphRun(const GlyphRun&) = delete;
    GlyphRun& operator=(const GlyphRun&) = delete;
    ~GlyphRun()
    {
        if (glyphs != buffer)
            cairo_glyph_free(glyphs);
    }

    /// Lays out UTF-8 `text` from the origin (x, y) on the baseline; false when cairo cannot
    /// (an invalid UTF-8 sequence, a broken font).
    bool layOut(const PlatformFont& font, std::string_view text, double x, double y)
    {
        const cairo_status_t status = cairo_scaled_font_text_to_glyphs(
            font.font, x, y, text.data(), static_cast<int>(text.size()), &glyphs, &count, nullptr,
            nullptr, nullptr);
        if (!glyphs)
            glyphs = buffer;
        if (status != CAIRO_STATUS_SUCCESS)
        {
            count = 0;
            return false;
        }
        cairo_text_extents_t extents;
        cairo_scaled_font_glyph_extents(font.font, glyphs, count, &extents);
        advance = extents.x_advance;
        return true;
    }
};

double TextMargin(const CFontDesc& font)
{
    return font.getSize() * kTextMarginPerSize;
}

// The parameter of the point of an ellipse with half axes a and b that lies at `degrees` from
// its centre (arcs are given by such angles, cairo takes the parameter).
double EllipseParameter(double degrees, double a, double b)
{
    const double angle = Radians(degrees);
    return std::atan2(a * std::sin(angle), b * std::cos(angle));
}
} // namespace

PlatformFont* CairoFontFor(CFontDesc& font)
{
    if (PlatformFont* made = font.platformFont())
        return made;
    // One style reaches the face, as on Windows: underline before italic before bold.
    const std::int32_t style = font.getStyle();
    cairo_font_slant_t slant = CAIRO_FONT_SLANT_NORMAL;
    cairo_font_weight_t weight = CAIRO_FONT_WEIGHT_NORMAL;
    const bool underline = (style & kUnderlineFace) != 0;
    if (!underline && (style & kItalicFace))
        slant = CAIRO_FONT_SLANT_ITALIC;
    else if (!underline && (style & kBoldFace))
        weight = CAIRO_FONT_WEIGHT_BOLD;
    cairo_font_face_t* face = cairo_toy_font_face_create(font.getName().c_str(), slant, weight);
    cairo_matrix_t size;
    cairo_matrix_init_scale(&size, font.getSize(), font.getSize());
    cairo_matrix_t deviceTransform;
    cairo_matrix_init_identity(&deviceTransform);
    // Metrics as designed (not rounded to pixels), so that text lines up as on Windows; outlines
    // anti-aliased in grey, lightly hinted.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_FULL);
    cairo_scaled_font_t* scaled = cairo_scaled_font_create(face, &size, &deviceTransform, options);
    cairo_font_options_destroy(options);
    cairo_font_face_destroy(face);
    if (cairo_scaled_font_status(scaled) != CAIRO_STATUS_SUCCESS)
    {
        cairo_scaled_font_destroy(scaled);
        return nullptr;
    }
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(scaled, &extents);
    auto* made = new PlatformFont{scaled, extents.ascent, extents.height, underline};
    font.setPlatformFont(made);
    return made;
}

std::unique_ptr<CairoSurface> CairoSurface::onImage(cairo_surface_t* image, FinishHook finish,
                                                    void* finishArgument)
{
    if (!image || cairo_surface_status(image) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    cairo_t* context = cairo_create(image);
    if (cairo_status(context) != CAIRO_STATUS_SUCCESS)
    {
        cairo_destroy(context);
        return nullptr;
    }
    return std::unique_ptr<CairoSurface>(new CairoSurface(context, finish, finishArgument));
}

CairoSurface::CairoSurface(cairo_t* context, FinishHook finish, void* argument)
    : cr(context), finishHook(finish), finishArgument(argument)
{
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_set_line_width(cr, penWidth);
}

CairoSurface::~CairoSurface()
{
    // Every drawing is in the image once the context is gone.
    cairo_destroy(cr);
    if (finishHook)
        finishHook(finishArgument);
}

void CairoSurface::useColor(ViewColor color)
{
    cairo_set_source_rgba(cr, Channel(color.red), Channel(color.green), Channel(color.blue),
                          Channel(color.alpha));
}

void CairoSurface::paintPath(bool fill, bool stroke)
{
    if (fill)
    {
        useColor(fillColor);
        if (stroke)
            cairo_fill_preserve(cr);
        else
            cairo_fill(cr);
    }
    if (stroke)
    {
        useColor(penColor);
        cairo_stroke(cr);
    }
    cairo_new_path(cr);
}

void CairoSurface::setPenColor(ViewColor color)
{
    penColor = color;
}

void CairoSurface::setPenWidth(float width)
{
    penWidth = width;
    cairo_set_line_width(cr, penWidth);
    setPenDotted(penDotted);
}

void CairoSurface::setPenDotted(bool dotted)
{
    penDotted = dotted;
    // Dots and gaps as long as the pen is wide.
    const double dash[2] = {penWidth, penWidth};
    cairo_set_dash(cr, dash, dotted ? 2 : 0, 0.0);
}

void CairoSurface::setFillColor(ViewColor color)
{
    fillColor = color;
}

void CairoSurface::setFontColor(ViewColor color)
{
    fontColor = color;
}

void CairoSurface::setAntiAlias(bool antiAlias)
{
    cairo_set_antialias(cr, antiAlias ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
}

void CairoSurface::setClip(int x, int y, int width, int height)
{
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, width > 0 ? width : 0, height > 0 ? height : 0);
    cairo_clip(cr);
}

void CairoSurface::drawLine(int x0, int y0, int x1, int y1)
{
    cairo_new_path(cr);
    cairo_move_to(cr, x0 + kPixelCentre, y0 + kPixelCentre);
    cairo_line_to(cr, x1 + kPixelCentre, y1 + kPixelCentre);
    paintPath(false, true);
}

void CairoSurface::fillRect(float x, float y, float width, float height)
{
    cairo_new_path(cr);
    cairo_rectangle(cr, x + kPixelCentre, y + kPixelCentre, width, height);
    paintPath(true, false);
}

void CairoSurface::strokeRect(float x, float y, float width, float height)
{
    cairo_new_path(cr);
    cairo_rectangle(cr, x + kPixelCentre, y + kPixelCentre, width, height);
    paintPath(false, true);
}

void CairoSurface::fillEllipse(int x, int y, int width, int height)
{
    drawArc(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
            static_cast<float>(height), 0.0f, 360.0f, true, false);
}

void CairoSurface::strokeEllipse(int x, int y, int width, int height)
{
    drawArc(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width),
            static_cast<float>(height), 0.0f, 360.0f, false, true);
}

void CairoSurface::drawArc(float x, float y, float width, float height, float startDegrees,
                           float sweepDegrees, bool fill, bool stroke)
{
    if (width <= 0.0f || height <= 0.0f || sweepDegrees <= 0.0f)
        return;
    const double a = width / 2.0;
    const double b = height / 2.0;
    double from = 0.0;
    double to = 2.0 * kPi;
    if (sweepDegrees < 360.0f)
    {
        from = EllipseParameter(startDegrees, a, b);
        to = EllipseParameter(static_cast<double>(startDegrees) + sweepDegrees, a, b);
        while (to <= from)
            to += 2.0 * kPi;
    }
    // The unit circle's arc through a scaling: the path keeps the ellipse, the pen stays round.
    cairo_matrix_t saved;
    cairo_get_matrix(cr, &saved);
    cairo_new_path(cr);
    cairo_translate(cr, x + kPixelCentre + a, y + kPixelCentre + b);
    cairo_scale(cr, a, b);
    cairo_arc(cr, 0.0, 0.0, 1.0, from, to);
    cairo_set_matrix(cr, &saved);
    paintPath(fill, stroke);
}

void CairoSurface::drawPolygon(const float* xy, int count, bool fill, bool stroke, bool closed)
{
    if (!xy || count <= 0)
        return;
    cairo_new_path(cr);
    for (std::ptrdiff_t i = 0; i < count; ++i)
        cairo_line_to(cr, xy[2 * i] + kPixelCentre, xy[2 * i + 1] + kPixelCentre);
    if (closed)
        cairo_close_path(cr);
    paintPath(fill, stroke);
}

double CairoSurface::stringWidth(std::string_view text, CFontDesc& font)
{
    const PlatformFont* cairoFont = CairoFontFor(font);
    if (!cairoFont || text.empty())
        return 0.0;
    GlyphRun run;
    if (!run.layOut(*cairoFont, text, 0.0, 0.0))
        return 0.0;
    return run.advance + 2.0 * TextMargin(font);
}

double CairoSurface::fontHeight(CFontDesc& font)
{
    const PlatformFont* cairoFont = CairoFontFor(font);
    return cairoFont ? cairoFont->lineHeight : 0.0;
}

void CairoSurface::drawString(std::string_view text, CFontDesc& font, float x, float y,
                              bool /*antiAlias*/)
{
    // Text is always anti-aliased in grey: cairo has no equivalent of the Windows hints.
    const PlatformFont* cairoFont = CairoFontFor(font);
    if (!cairoFont || text.empty())
        return;
    const double left = x + TextMargin(font);
    const double baseline = y + cairoFont->ascent;
    GlyphRun run;
    if (!run.layOut(*cairoFont, text, left, baseline))
        return;
    useColor(fontColor);
    cairo_set_scaled_font(cr, cairoFont->font);
    cairo_show_glyphs(cr, run.glyphs, run.count);
    if (cairoFont->underline)
    {
        const double thickness = std::fmax(1.0, std::round(font.getSize() / 14.0));
        cairo_new_path(cr);
        cairo_rectangle(cr, left, std::round(baseline + font.getSize() / 10.0), run.advance,
                        thickness);
        cairo_fill(cr);
    }
}

void CairoSurface::drawBitmap(PlatformBitmap& bitmap, int x, int y, int width, int height,
                              int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                              std::uint8_t alpha)
{
    if (!bitmap.surface || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0)
        return;
    cairo_set_source_surface(cr, bitmap.surface, x - sourceX, y - sourceY);
    if (sourceWidth != width || sourceHeight != height)
    {
        // Scaled: the source area maps onto the destination; beyond the picture's edges its
        // edge pixels repeat, so that its border does not fade into what lies outside it.
        cairo_matrix_t toSource;
        cairo_matrix_init_translate(&toSource, sourceX, sourceY);
        cairo_matrix_scale(&toSource, static_cast<double>(sourceWidth) / width,
                           static_cast<double>(sourceHeight) / height);
        cairo_matrix_translate(&toSource, -x, -y);
        cairo_pattern_t* source = cairo_get_source(cr);
        cairo_pattern_set_matrix(source, &toSource);
        cairo_pattern_set_extend(source, CAIRO_EXTEND_PAD);
    }
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, width, height);
    if (alpha == 255)
    {
        cairo_fill(cr);
        return;
    }
    cairo_save(cr);
    cairo_clip(cr);
    cairo_paint_with_alpha(cr, Channel(alpha));
    cairo_restore(cr);
}

} // namespace vrn
