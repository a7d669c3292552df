// The drawing library's process-wide holder.
#include "editor/graphics_library.h"

#include "editor/font_desc.h"
#include "editor/platform.h"

#include <atomic>
#include <mutex>

namespace vrn
{

namespace
{
// Frames and bitmaps come and go on the host's threads: its UI thread opens editors while a
// worker thread may delete another instance (and release that instance's bitmaps). The lock
// makes each reference change and the start-up or shut-down it causes one step, so the library
// is never shut down while a holder reference is out.
std::mutex holderMutex;
std::atomic<GDIPlusGlobals*> holder{nullptr};
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
    std::lock_guard<std::mutex> lock(holderMutex);
    if (GDIPlusGlobals* current = holder.load())
        current->retain();
    else
        holder.store(new GDIPlusGlobals());
}

void GDIPlusGlobals::leave()
{
    std::lock_guard<std::mutex> lock(holderMutex);
    GDIPlusGlobals* current = holder.load();
    if (!current)
        return;
    if (current->getNbReference() == 1)
        holder.store(nullptr);
    current->release();
}

bool GDIPlusGlobals::isRunning()
{
    return holder.load() != nullptr;
}

bool GDIPlusGlobals::isStarted()
{
    std::lock_guard<std::mutex> lock(holderMutex);
    const GDIPlusGlobals* current = holder.load();
    return current != nullptr && current->token != 0;
}

} // namespace vrn
