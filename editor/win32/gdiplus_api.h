#pragma once
// The GDI+ flat interface for the editor's Windows back end, with owning handles for its objects.

#include <windows.h>

#include <objidl.h>

#include <gdiplus.h>

#include <memory>

namespace vrn::gdip
{

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

/// Frees a GDI+ object with its flat-interface release function.
template <class T, auto Free>
struct Deleter
{
    void operator()(T* object) const noexcept { Free(object); }
};

using GraphicsPtr = std::unique_ptr<GpGraphics, Deleter<GpGraphics, &GdipDeleteGraphics>>;
using PenPtr = std::unique_ptr<GpPen, Deleter<GpPen, &GdipDeletePen>>;
using BrushPtr = std::unique_ptr<GpSolidFill, Deleter<GpBrush, &GdipDeleteBrush>>;
using PathPtr = std::unique_ptr<GpPath, Deleter<GpPath, &GdipDeletePath>>;
using BitmapPtr = std::unique_ptr<GpBitmap, Deleter<GpImage, &GdipDisposeImage>>;
using AttributesPtr =
    std::unique_ptr<GpImageAttributes, Deleter<GpImageAttributes, &GdipDisposeImageAttributes>>;
using FontFamilyPtr = std::unique_ptr<GpFontFamily, Deleter<GpFontFamily, &GdipDeleteFontFamily>>;

} // namespace vrn::gdip
