// The effect view: paint and mouse events handed to the effect through the wrapper.
#include "graphics/vest_view.h"

namespace vrn
{

namespace
{
std::int32_t Pixel(double coordinate)
{
    return static_cast<std::int32_t>(coordinate);
}
} // namespace

CVeSTView::CVeSTView(const ViewRect& rect, IEffectViewHost* wrapper) : CView(rect), host(wrapper) {}

void CVeSTView::draw(CDrawContext* context)
{
    if (host)
        host->PaintEffect(context, Pixel(size.width()), Pixel(size.height()));
    dirty = false;
}

MouseResult CVeSTView::mouseDown(ViewPoint where, ButtonState buttons)
{
    if (host)
        host->EffectMouseDown(Pixel(where.h - size.left), Pixel(where.v - size.top), buttons);
    return kMouseEventHandled;
}

MouseResult CVeSTView::mouseUp(ViewPoint where, ButtonState buttons)
{
    if (host)
        host->EffectMouseUp(Pixel(where.h - size.left), Pixel(where.v - size.top), buttons);
    return kMouseEventHandled;
}

MouseResult CVeSTView::mouseMoved(ViewPoint where, ButtonState buttons)
{
    if (host)
        host->EffectMouseMoved(Pixel(where.h - size.left), Pixel(where.v - size.top), buttons);
    return kMouseEventHandled;
}

std::int32_t CVeSTView::keyDown(const KeyCode& key)
{
    if (host)
        host->EffectKeyDown(key);
    return 1;
}

std::int32_t CVeSTView::keyUp(const KeyCode& key)
{
    if (host)
        host->EffectKeyUp(key);
    return 1;
}

} // namespace vrn
