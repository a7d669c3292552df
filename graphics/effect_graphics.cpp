// The effect's drawing primitives, frame prologue, image slots and font slots.
#include "graphics/effect_graphics.h"

#include "graphics/drawing_conversions.h"
#include "graphics/gfx_bridge.h"
#include "graphics/graphics_host.h"
#include "runtime/library_files.h"
#include "runtime/numeric.h"

#include <cmath>

namespace vrn
{

IGraphicsHost* EffectGraphics::host() const
{
    return effect.vest ? effect.vest->Graphics() : nullptr;
}

void EffectGraphics::framePrologue()
{
    std::int32_t width = 0;
    std::int32_t height = 0;
    if (gfxViewSize(effect.vest, width, height))
    {
        effect.viewWidth = width;
        effect.viewHeight = height;
    }
    effect.frameButtons = effect.mouseButtons;
    effect.frameMouseX = effect.mouseX;
    effect.frameMouseY = effect.mouseY;
    if (IsTrue(effect.clearColor))
    {
        const auto packed = static_cast<std::uint32_t>(RoundIndex(effect.clearColor));
        effect.colorRed = static_cast<double>(packed & 0xFFu) / 255.0;
        effect.colorGreen = static_cast<double>((packed >> 8) & 0xFFu) / 255.0;
        effect.colorBlue = static_cast<double>((packed >> 16) & 0xFFu) / 255.0;
        effect.colorAlpha = 1.0;
        effect.penX = effect.viewWidth;
        effect.penY = effect.viewHeight;
        fillRectTo(0.0, 0.0);
    }
    effect.colorRed = 0.0;
    effect.colorGreen = 0.0;
    effect.colorBlue = 0.0;
    effect.colorAlpha = 1.0;
    effect.penX = 0.0;
    effect.penY = 0.0;
}

void EffectGraphics::applyColor(double antiAlias)
{
    IGraphicsHost* graphics = host();
    const ViewColor c =
        ColorFromChannels(effect.colorRed, effect.colorGreen, effect.colorBlue, effect.colorAlpha);
    gfxSetFillColor(graphics, c.red, c.green, c.blue, c.alpha);
    gfxSetDrawMode(graphics, antiAlias >= 0.5 ? 3 : 0);
}

void EffectGraphics::fillRectTo(double x, double y)
{
    applyColor(0.0);
    gfxRect(host(), PixelFloor(effect.penX), PixelFloor(effect.penY), PixelFloor(x), PixelFloor(y),
            1);
    effect.penX = x;
    effect.penY = y;
}

void EffectGraphics::fillCircle(double x, double y, double radius)
{
    applyColor(1.0);
    gfxEllipse(host(), x - radius, y - radius, x + radius + 1.0, y + radius + 1.0, 1);
    effect.penX = x;
    effect.penY = y;
}

void EffectGraphics::drawText(double slot)
{
    IGraphicsHost* graphics = host();
    const ViewColor c =
        ColorFromChannels(effect.colorRed, effect.colorGreen, effect.colorBlue, effect.colorAlpha);
    gfxSetFontColor(graphics, c.red, c.green, c.blue, c.alpha);
    gfxSetDrawMode(graphics, 3);

    const std::string& text = effect.strings.Slot(slot);
    std::size_t start = 0;
    for (;;)
    {
        const std::size_t end = text.find('\n', start);
        line.assign(text, start, end == std::string::npos ? std::string::npos : end - start);
        const double width = gfxTextWidth(graphics, line);
        if (!line.empty())
            gfxTextInRect(graphics, line, effect.penX, effect.penY, effect.penX + width,
                          effect.penY + effect.textHeight + 2.0, 0, 0);
        if (end == std::string::npos)
        {
            effect.penX += width;
            return;
        }
        effect.penY += effect.textHeight;
        start = end + 1;
    }
}

void EffectGraphics::setFont(double slot, double face, double size, double style)
{
    effect.fontIndex = slot;
    const FontSize rule = FontSizeRule(size);
    effect.textHeight = rule.textHeight;

    FontSlot& font = fonts[RoundIndex(slot)];
    font.face = effect.strings.Slot(face);
    font.size = rule.pixels > 1.0 ? rule.pixels : 1.0;
    font.style = FontStyleFromLetters(RoundIndex(style));

    // The context takes whole pixels: 14 → 11.9 → 11.
    const auto pixels = static_cast<std::int32_t>(rule.pixels + 0.0001);
    IGraphicsHost* graphics = host();
    if (!gfxSetFont(graphics, font.face, pixels, font.style))
        gfxSetFont(graphics, "verdana", pixels, font.style);
}

const FontSlot* EffectGraphics::fontSlot(double slot) const
{
    const auto found = fonts.find(RoundIndex(slot));
    return found == fonts.end() ? nullptr : &found->second;
}

void EffectGraphics::registerImageFile(double slot, const std::string& fileName)
{
    effect.fileNames.Assign(slot, fileName);
}

const ImageSlot& EffectGraphics::imageInfo(double slot)
{
    const std::int32_t number = RoundIndex(slot);
    ImageSlot& image = images[number];
    if (image.holder || !effect.fileNames.Contains(number))
        return image;

    image.width = 0.0;
    image.height = 0.0;
    image.holder = std::make_unique<ImageHolder>();
    if (!gfxImageFromResourceId(image.holder.get(), number))
    {
        const std::string path = LibraryPath(effect.fileNames.Slot(number));
        if (!gfxImageFromFile(image.holder.get(), path))
        {
            // The holder stays (empty): this slot is not tried again, so the line is written once.
            writeLogLine("Unable to load: " + path);
            return image;
        }
    }
    image.width = gfxImageWidth(image.holder.get());
    image.height = gfxImageHeight(image.holder.get());
    return image;
}

void EffectGraphics::drawImage(double slot)
{
    const ImageSlot& image = imageInfo(slot);
    const double left = effect.penX;
    const double top = effect.penY;
    double right = left + image.width;
    double bottom = top + image.height;
    IGraphicsHost* graphics = host();
    if (gfxImageDraw(graphics, image.holder.get(), left, top, right, bottom, 0.0, 0.0))
        return;
    // An image that failed to load has no size; its marker must still be seen, so the box then
    // fits the word (with a 2-pixel margin) instead of vanishing.
    if (image.width <= 0.0 || image.height <= 0.0)
    {
        right = left + std::fmax(gfxTextWidth(graphics, "ERROR"), 0.0) + 4.0;
        bottom = top + effect.textHeight + 4.0;
    }
    gfxSetFillColor(graphics, 255, 0, 0, 255);
    gfxRect(graphics, left, top, right, bottom, 1);
    gfxSetFontColor(graphics, 255, 255, 0, 255);
    gfxTextInRect(graphics, "ERROR", left, top, right, bottom, 0, 1);
}

} // namespace vrn
