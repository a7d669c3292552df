// Bitmaps on Windows: GDI+ images decoded from the module's "DATA" resources or from files,
// empty ARGB surfaces and ARGB copies.
#include "editor/bitmap.h"
#include "editor/platform.h"

#include "editor/win32/platform_objects.h"
#include "editor/win32/resource_stream.h"
#include "editor/win32/wide_text.h"
#include "platform/platform.h"

#include <atomic>

namespace vrn::editor_platform
{

using namespace gdip;

namespace
{
PlatformBitmap* Wrap(GpStatus status, GpBitmap* bitmap)
{
    if (status != Ok || !bitmap)
        return nullptr;
    auto* wrapped = new PlatformBitmap;
    wrapped->bitmap = bitmap;
    return wrapped;
}

// A decoded picture; an opaque one with its pixels beside it as the paint buffer holds them
// (drawn every frame, converted once).
PlatformBitmap* WrapPicture(GpStatus status, GpBitmap* bitmap)
{
    static std::atomic<std::uint64_t> lastSerial{0};
    PlatformBitmap* picture = Wrap(status, bitmap);
    if (picture)
        picture->pictureSerial = ++lastSerial;
    UINT width = 0;
    UINT height = 0;
    if (!picture || GdipGetImageWidth(bitmap, &width) != Ok ||
        GdipGetImageHeight(bitmap, &height) != Ok || width == 0 || height == 0)
        return picture;
    const GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    BitmapData locked{};
    if (GdipBitmapLockBits(bitmap, &area, ImageLockModeRead, PixelFormat32bppARGB, &locked) != Ok)
        return picture;
    std::vector<std::uint32_t> rows(static_cast<std::size_t>(width) * height);
    bool opaque = true;
    for (UINT y = 0; y < height && opaque; ++y)
    {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(static_cast<const BYTE*>(locked.Scan0) +
                                                   static_cast<std::ptrdiff_t>(y) * locked.Stride);
        std::uint32_t* to = rows.data() + static_cast<std::size_t>(y) * width;
        for (UINT x = 0; x < width; ++x)
        {
            opaque = opaque && (row[x] >> 24) == 0xFFu;
            to[x] = row[x] & 0x00FFFFFFu; // as GDI writes a pixel of the buffer
        }
    }
    GdipBitmapUnlockBits(bitmap, &locked);
    if (opaque)
    {
        picture->opaqueRows = std::move(rows);
        picture->width = static_cast<int>(width);
        picture->height = static_cast<int>(height);
    }
    return picture;
}

// Decodes a resource of type "DATA" through a stream over its memory; null when there is none
// or it does not decode.
GpBitmap* DecodeDataResource(HMODULE module, LPCSTR name)
{
    HRSRC found = FindResourceA(module, name, "DATA");
    if (!found)
        return nullptr;
    const DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0)
        return nullptr;
    // The decoder takes its own reference while it needs the stream; resource memory lives as
    // long as the module.
    auto* stream = new ResourceStream(data, size);
    GpBitmap* bitmap = nullptr;
    const GpStatus status = GdipCreateBitmapFromStreamICM(stream, &bitmap);
    stream->Release();
    return status == Ok ? bitmap : nullptr;
}
} // namespace

PlatformBitmap* LoadResourceBitmap(const CResourceDescription& resource)
{
    if (resource.kind == CResourceDescription::kNoResource)
        return nullptr;
    const auto module = static_cast<HMODULE>(platform::ModuleHandle());
    const bool numeric = resource.kind == CResourceDescription::kIntegerType;
    GpBitmap* bitmap =
        DecodeDataResource(module, numeric ? MAKEINTRESOURCEA(resource.id) : resource.name.c_str());
    if (bitmap)
        return WrapPicture(Ok, bitmap);
    // Not a "DATA" resource: perhaps an ordinary bitmap resource.
    const std::wstring wideName = numeric ? std::wstring() : Widen(resource.name);
    const GpStatus status = GdipCreateBitmapFromResource(
        module, numeric ? MAKEINTRESOURCEW(resource.id) : wideName.c_str(), &bitmap);
    return WrapPicture(status, bitmap);
}

PlatformBitmap* LoadFileBitmap(const std::string& path)
{
    const std::wstring widePath = Widen(path);
    if (widePath.empty())
        return nullptr;
    GpBitmap* bitmap = nullptr;
    const GpStatus status = GdipCreateBitmapFromFile(widePath.c_str(), &bitmap);
    return WrapPicture(status, bitmap);
}

PlatformBitmap* CreateEmptyBitmap(int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    GpBitmap* bitmap = nullptr;
    const GpStatus status =
        GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    return Wrap(status, bitmap);
}

PlatformBitmap* CopyBitmap(PlatformBitmap& source)
{
    UINT width = 0;
    UINT height = 0;
    if (!source.bitmap || GdipGetImageWidth(source.bitmap, &width) != Ok ||
        GdipGetImageHeight(source.bitmap, &height) != Ok || width == 0 || height == 0)
        return nullptr;
    const int w = static_cast<int>(width);
    const int h = static_cast<int>(height);
    // Drawn into a fresh bitmap rather than cloned, so that the copy keeps nothing of the
    // source (a clone of a file image may keep the file open).
    GpBitmap* made = nullptr;
    if (GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &made) != Ok || !made)
        return nullptr;
    BitmapPtr copy(made);
    GpGraphics* madeGraphics = nullptr;
    if (GdipGetImageGraphicsContext(copy.get(), &madeGraphics) != Ok || !madeGraphics)
        return nullptr;
    const GraphicsPtr graphics(madeGraphics);
    GdipSetCompositingMode(graphics.get(), CompositingModeSourceCopy);
    if (GdipDrawImageRectRectI(graphics.get(), source.bitmap, 0, 0, w, h, 0, 0, w, h, UnitPixel,
                               nullptr, nullptr, nullptr) != Ok)
        return nullptr;
    return Wrap(Ok, copy.release());
}

void BitmapSize(PlatformBitmap& bitmap, double& width, double& height)
{
    UINT w = 0;
    UINT h = 0;
    GdipGetImageWidth(bitmap.bitmap, &w);
    GdipGetImageHeight(bitmap.bitmap, &h);
    width = w;
    height = h;
}

void DestroyBitmap(PlatformBitmap* bitmap)
{
    if (!bitmap)
        return;
    if (bitmap->bitmap)
        GdipDisposeImage(bitmap->bitmap);
    delete bitmap;
}

} // namespace vrn::editor_platform
