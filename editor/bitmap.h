#pragma once
// An image: decoded from a module resource or a file, or an empty surface for offscreen drawing.

#include "editor/base_object.h"
#include "editor/view_types.h"

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

/// A bitmap and its size. Keeps the drawing library running while it exists.
class CBitmap : public CBaseObject
{
public:
    /// Loads the resource at once; check isLoaded.
    explicit CBitmap(const CResourceDescription& resource);
    /// Takes a 32-bit ARGB copy of `source` (the caller keeps `source`).
    explicit CBitmap(PlatformBitmap& source);
    /// An empty, transparent 32-bit ARGB bitmap, pixels.
    CBitmap(double width, double height);
    ~CBitmap() override;

    /// Draws the `rect`-sized area at `offset` in the bitmap into `rect` of the context.
    virtual void draw(CDrawContext* context, const ViewRect& rect, ViewPoint offset = {});
    /// The same; the transparent colour is not applied by this back end.
    virtual void drawTransparent(CDrawContext* context, const ViewRect& rect,
                                 ViewPoint offset = {});
    /// The same with the opacity scaled by `alpha` / 255.
    virtual void drawAlphaBlend(CDrawContext* context, const ViewRect& rect, ViewPoint offset,
                                std::uint8_t alpha);
    /// Drops the image (the size stays).
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

private:
    void takeSize();

    CResourceDescription resourceDescription;
    double width = 0.0;
    double height = 0.0;
    ViewColor transparentColor{255, 255, 255, 0};
    bool noAlpha = true;
    PlatformBitmap* image = nullptr;
};

} // namespace vrn
