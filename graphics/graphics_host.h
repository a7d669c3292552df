#pragma once
// What the effect's drawing runtime asks of its host wrapper: the draw context of the paint in
// progress and the font cache. The wrapper implements it.

namespace vrn
{

class CDrawContext;
class FontCache;

/// The host wrapper as the graphics bridge sees it (UI thread only).
class IGraphicsHost
{
public:
    virtual ~IGraphicsHost() = default;

    /// The draw context of the paint in progress; null outside a paint.
    virtual CDrawContext* PaintContext() = 0;
    /// Font descriptions by face name, kept for the wrapper's life.
    virtual FontCache& Fonts() = 0;
};

} // namespace vrn
