// The drawing library's holder when the host's threads come and go at once.
#include "editor/graphics_library.h"
#include "tests/support/test_window.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace vrn
{
namespace
{

TEST(GraphicsLibrary, ThreadsEnteringAndLeavingNeverStopItWhileInUse)
{
    // One thread opens and closes editors while another releases bitmaps of other instances.
    const int startupsBefore = editor_platform::GraphicsStartups();
    const int shutdownsBefore = editor_platform::GraphicsShutdowns();
    std::atomic<int> stoppedWhileInUse{0};
    const auto work = [&stoppedWhileInUse]
    {
        for (int i = 0; i < 100000; ++i)
        {
            GDIPlusGlobals::enter();
            if (!editor_platform::GraphicsRunning() || !GDIPlusGlobals::isStarted())
                ++stoppedWhileInUse;
            GDIPlusGlobals::leave();
        }
    };
    std::thread other(work);
    work();
    other.join();

    EXPECT_EQ(stoppedWhileInUse.load(), 0);
    EXPECT_FALSE(GDIPlusGlobals::isRunning());
    EXPECT_FALSE(editor_platform::GraphicsRunning());
    const int startups = editor_platform::GraphicsStartups() - startupsBefore;
    EXPECT_GE(startups, 1);
    EXPECT_EQ(editor_platform::GraphicsShutdowns() - shutdownsBefore, startups);
}

} // namespace
} // namespace vrn
