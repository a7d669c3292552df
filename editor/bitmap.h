#pragma once
// An image: decoded from a module resource or a file, or an empty surface for offscreen drawing.

#include "editor/base_object.h"
#include "editor/view_types.h"

#include <array>
#include <cstdint>
#include <string>

namespace vrn
{

class CDrawContext;
struct PlatformBitmap;

/// Where a bitmap comes from: a numeric resource id, a resource name, or no resource.
struct CResourceDescription
{
    enum Kind : std::int32_t
    {
        kIntegerType = 0,
        kStringType = 1,
        kNoResource = 2,
    };
    Kind kind = kNoResource;
    std::uint16_t id = 0; ///< resource id when kind is kIntegerType
    std::string name;     ///< resource name when kind is kStringType

    static CResourceDescription fromId(int resourceId)
    {
        CResourceDescription d;
        d.kind = kIntegerType;
        d.id = static_cast<std::uint16_t>(resourceId);
        return d;
    }
    static CResourceDescription fromName(const std::string& resourceName)
    {
        CResourceDescription d;
        d.kind = kStringType;
        d.name = resourceName;
        return d;
    }
};

/// A picture drawn again for high-density screens: `density` times the size of the 1×
/// picture, found as the resource numbered the 1× one's id + `resourceOffset`, or as the file
/// named like the 1× one with `fileSuffix` before its extension ("knob_sm@2x.png").
struct PictureVariant
{
    double density;
    int resourceOffset;
    const char* fileSuffix;
};
constexpr std::array<PictureVariant, 3> kPictureVariants{
    {{1.5, 150, "@1.5x"}, {2.0, 200, "@2x"}, {3.0, 300, "@3x"}}};

/// A bitmap and its size. Keeps the drawing library running while it exists.
///
/// Its size is in the pixels of the contexts it is drawn into at scale 1. A picture loaded from
/// a numbered resource or a file has variants drawn for high-density screens (kPictureVariants):
/// drawn into a context at a scale above 1, it draws the closest variant at or above that scale
/// (loaded on first use and kept), else itself, scaled.
class CBitmap : public CBaseObject
{
public:
    /// Loads the resource at once; check isLoaded.
    explicit CBitmap(const CResourceDescription& resource);
    /// Takes a 32-bit ARGB copy of `source` (the caller keeps `source`).
    explicit CBitmap(PlatformBitmap& source);
    /// An empty, transparent 32-bit ARGB bitmap of `width` × `height` pixels at `density`:
    /// width × density by height × density pixels of its own (offscreen drawing at a scale).
    CBitmap(double width, double height, double density = 1.0);
    ~CBitmap() override;

    /// Draws the `rect`-sized area at `offset` in the bitmap into `rect` of the context.
    virtual void draw(CDrawContext* context, const ViewRect& rect, ViewPoint offset = {});
    /// The same; the transparent colour is not applied by this back end.
    virtual void drawTransparent(CDrawContext* context, const ViewRect& rect,
                                 ViewPoint offset = {});
    /// The same with the opacity scaled by `alpha` / 255.
    virtual void drawAlphaBlend(CDrawContext* context, const ViewRect& rect, ViewPoint offset,
                                std::uint8_t alpha);
    /// Drops the image and its variants (the size stays).
    virtual void freeImage();
    /// Replaces the image by the resource's; true when an image resulted.
    virtual bool loadFromResource(const CResourceDescription& resource);
    /// True while an image is held.
    virtual bool isLoaded() const { return image != nullptr; }

    double getWidth() const { return width; }   ///< pixels
    double getHeight() const { return height; } ///< pixels
    ViewColor getTransparentColor() const { return transparentColor; }
    void setTransparentColor(ViewColor color) { transparentColor = color; }
    bool getNoAlpha() const { return noAlpha; }
    void setNoAlpha(bool value) { noAlpha = value; }
    const CResourceDescription& getResourceDescription() const { return resourceDescription; }
    /// The platform image, or null (back ends only).
    PlatformBitmap* platformBitmap() const { return image; }
    /// Pixels of the platform image per pixel of the bitmap's size (1 for pictures).
    double getDensity() const { return density; }

    /// Where the variants of a picture loaded from a file are: files named like `path` (UTF-8)
    /// with a variant's suffix before the extension.
    void setVariantFile(const std::string& path);
    /// The image to draw into a context at `scale` and its density: the closest variant at or
    /// above the scale that exists and has its size, else the bitmap's own image. Null without
    /// an image.
    PlatformBitmap* imageForScale(double scale, double& imageDensity);

private:
    void takeSize();
    /// Loads variant `index` of kPictureVariants; null when it is missing or not its size.
    PlatformBitmap* loadVariant(std::size_t index) const;
    void freeVariants();

    CResourceDescription resourceDescription;
    std::string variantFile; ///< the 1× picture's file, when it came from one
    double width = 0.0;
    double height = 0.0;
    double density = 1.0;
    ViewColor transparentColor{255, 255, 255, 0};
    bool noAlpha = true;
    PlatformBitmap* image = nullptr;
    struct LoadedVariant
    {
        PlatformBitmap* image = nullptr;
        bool tried = false; ///< a missing variant is looked for once
    };
    std::array<LoadedVariant, kPictureVariants.size()> variants{};
};

} // namespace vrn
