// Offscreen drawing contexts.
#include "editor/offscreen_context.h"

#include "editor/bitmap.h"
#include "editor/draw_surface.h"
#include "editor/frame.h"
#include "editor/platform.h"

#include <cmath>

namespace vrn
{

COffscreenContext::COffscreenContext(CFrame* ownerFrame, double surfaceWidth, double surfaceHeight,
                                     ViewColor background)
    // At the frame's scale, as every context drawing for it: its pixels are then copied 1:1.
    : COffscreenContext(
          ownerFrame,
          new CBitmap(surfaceWidth, surfaceHeight, ownerFrame ? ownerFrame->getScale() : 1.0),
          surfaceWidth, surfaceHeight, background)
{
}

COffscreenContext::COffscreenContext(CFrame* ownerFrame, CBitmap* surfaceBitmap,
                                     double surfaceWidth, double surfaceHeight,
                                     ViewColor background)
    : CDrawContext(ownerFrame, {},
                   surfaceBitmap->platformBitmap()
                       ? editor_platform::CreateBitmapSurface(surfaceBitmap->platformBitmap())
                       : nullptr),
      bitmap(surfaceBitmap), height(surfaceHeight), width(surfaceWidth), backgroundColor(background)
{
    // The surface is the whole world of an offscreen context, frame or not. Ordered edges, so
    // that a non-positive size never gives an inverted clip.
    defaultClip = {std::fmin(0.0, width), std::fmin(0.0, height), std::fmax(0.0, width),
                   std::fmax(0.0, height)};
    resetClipRect();
}

COffscreenContext::~COffscreenContext()
{
    releaseSurface();
    bitmap->release();
}

void COffscreenContext::copyFrom(CDrawContext* destination, const ViewRect& rect, ViewPoint source)
{
    bitmap->draw(destination, rect, source);
}

} // namespace vrn
