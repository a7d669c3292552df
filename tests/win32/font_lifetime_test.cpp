// Platform fonts belong to one run of the drawing library: they are freed before it shuts down
// and made again by the next run.
#include "drawing_support.h"

#include "editor/font_desc.h"
#include "editor/graphics_library.h"

namespace vrn::test
{
namespace
{

TEST(FontLifetime, PlatformFontsGoBeforeTheDrawingLibraryStops)
{
    ASSERT_FALSE(GDIPlusGlobals::isRunning());
    auto font = SharedPointer<CFontDesc>::adopt(new CFontDesc("Arial", 20));
    {
        auto context = MakeOffscreen(40, 40);
        context->setFont(font.get());
        EXPECT_GT(context->getStringWidth("x"), 0.0);
        context->setFont(StandardFont(2));
        EXPECT_GT(context->getStringWidth("x"), 0.0);
        ASSERT_NE(font->platformFont(), nullptr);
        ASSERT_NE(StandardFont(2)->platformFont(), nullptr);
    }
    // The offscreen bitmap is gone; the description's platform font keeps the library running.
    EXPECT_TRUE(GDIPlusGlobals::isRunning());
    font->setSize(21); // a changed description drops its platform font, and with it the library
    EXPECT_EQ(font->platformFont(), nullptr);
    EXPECT_FALSE(GDIPlusGlobals::isRunning());
    EXPECT_EQ(StandardFont(2)->platformFont(), nullptr);

    // The next run makes the standard font again and draws with it.
    auto context = MakeOffscreen(60, 40);
    context->setFont(StandardFont(2));
    context->setFontColor({255, 255, 255, 255});
    context->drawStringAt("H", {5, 30});
    EXPECT_TRUE(FindInk(context).found);
    EXPECT_NE(StandardFont(2)->platformFont(), nullptr);
}

} // namespace
} // namespace vrn::test
