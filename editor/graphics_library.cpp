// The drawing library's process-wide holder.
#include "editor/graphics_library.h"

#include "editor/font_desc.h"
#include "editor/platform.h"

namespace vrn
{

namespace
{
// Only the user-interface thread makes frames and bitmaps, so the pointer needs no guard.
GDIPlusGlobals* holder = nullptr;
} // namespace

GDIPlusGlobals::GDIPlusGlobals() : token(editor_platform::StartupGraphics()) {}

GDIPlusGlobals::~GDIPlusGlobals()
{
    // Platform fonts belong to the library instance that made them.
    FreeStandardPlatformFonts();
    editor_platform::ShutdownGraphics(token);
}

void GDIPlusGlobals::enter()
{
    if (holder)
        holder->retain();
    else
        holder = new GDIPlusGlobals();
}

void GDIPlusGlobals::leave()
{
    if (!holder)
        return;
    GDIPlusGlobals* current = holder;
    if (current->getNbReference() == 1)
        holder = nullptr;
    current->release();
}

bool GDIPlusGlobals::isRunning()
{
    return holder != nullptr;
}

bool GDIPlusGlobals::isStarted()
{
    return holder != nullptr && holder->token != 0;
}

} // namespace vrn
