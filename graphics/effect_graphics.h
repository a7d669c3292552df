#pragma once
// The effect's drawing runtime: the primitives its drawing code calls, the frame prologue, and
// the image and font slots. The drawing state itself (colours, pen, text height, view size) is
// the effect object's; this object reads and writes it there. Owned by the effect, so images
// are released when the effect object is destroyed.

#include "graphics/font_slots.h"
#include "graphics/image_holder.h"
#include "runtime/editor_state.h"
#include "runtime/library_files.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace vrn
{

class IGraphicsHost;

/// One image slot: its holder (present once loading was tried, empty when it failed) and the
/// image's size.
struct ImageSlot
{
    std::unique_ptr<ImageHolder> holder;
    double width = 0.0;  ///< pixels, 0 until loaded
    double height = 0.0; ///< pixels, 0 until loaded
};

/// Drawing primitives, image slots and font slots of one effect object.
/// --- UI thread (the editor's paint and layout)
class EffectGraphics
{
public:
    /// Works on `effect`'s drawing state and reaches the host through its host link.
    explicit EffectGraphics(CXaltoMouse& owner) : effect(owner) {}
    EffectGraphics(const EffectGraphics&) = delete;
    EffectGraphics& operator=(const EffectGraphics&) = delete;

    /// Start of every frame: view size, mouse frame copies, the optional clear, colour and pen
    /// reset (black, opaque, pen at the origin).
    void framePrologue();

    /// Sets the drawing colour as fill colour; anti-aliased when `antiAlias` ≥ 0.5.
    void applyColor(double antiAlias);
    /// Fills from the pen to (x, y) in whole pixels (either corner order); the pen moves there.
    void fillRectTo(double x, double y);
    /// Fills a circle of `radius` pixels around (x, y), anti-aliased; the pen moves there.
    void fillCircle(double x, double y, double radius);
    /// Draws the text of string slot `slot` at the pen, line feeds starting new lines at the
    /// same x; the pen ends after the last line.
    void drawText(double slot);
    /// Defines font slot `slot` from the face in string slot `face`, a size (see FontSizeRule)
    /// and style letters, selects it and sets textHeight.
    void setFont(double slot, double face, double size, double style);
    /// Draws image slot `slot` 1:1 at the pen (the pen stays); a red box with "ERROR" when the
    /// image is missing.
    void drawImage(double slot);
    /// Image slot `slot`, loaded on first use: the module's resource with that id, else the
    /// registered file beside the library, else one log line and an empty holder (never
    /// retried).
    const ImageSlot& imageInfo(double slot);
    /// Registers the file name of image slot `slot` (relative to the library's folder).
    void registerImageFile(double slot, const std::string& fileName);

    /// Font slot `slot`, or null when it was never set.
    const FontSlot* fontSlot(double slot) const;
    /// The host's drawing side, or null.
    IGraphicsHost* host() const;

    /// Writes the line of an image that failed to load: the runtime's log file (tests catch it).
    void (*writeLogLine)(const std::string& message) = &LogLine;

private:
    CXaltoMouse& effect;
    std::map<std::int32_t, ImageSlot> images;
    std::map<std::int32_t, FontSlot> fonts;
    std::string line; ///< one line of drawText, kept to spare allocations
};

} // namespace vrn
