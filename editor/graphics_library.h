#pragma once
// The process-wide holder that keeps the drawing library running while frames and bitmaps exist.

#include "editor/base_object.h"

#include <cstdint>

namespace vrn
{

/// Started by the first frame or bitmap, shut down when the last of them is gone.
class GDIPlusGlobals : public CBaseObject
{
public:
    /// Retains the holder, creating it (and starting the drawing library) when there is none.
    static void enter();
    /// Releases the holder; the last release shuts the drawing library down.
    static void leave();
    /// True while a holder exists (tests).
    static bool isRunning();
    /// True while a holder exists and the drawing library started.
    static bool isStarted();

private:
    GDIPlusGlobals();
    ~GDIPlusGlobals() override;

    std::uintptr_t token;
};

} // namespace vrn
