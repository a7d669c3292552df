// The content scale rule: what a host or the system may ask for and what the editor takes.
#include "editor/content_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vrn
{
namespace
{

TEST(ContentScale, ClampsToOneToThreeInQuarterSteps)
{
    const struct
    {
        double requested;
        double taken;
    } cases[] = {{1.0, 1.0},   {1.5, 1.5},   {2.0, 2.0},   {3.0, 3.0},         {1.1, 1.0},
                 {1.13, 1.25}, {1.75, 1.75}, {2.4, 2.5},   {0.5, 1.0},         {1e-300, 1.0},
                 {100.0, 3.0}, {3.1, 3.0},   {1e300, 3.0}, {192.0 / 96.0, 2.0}};
    for (const auto& c : cases)
    {
        double scale = -1.0;
        EXPECT_TRUE(ContentScaleFor(c.requested, scale)) << c.requested;
        EXPECT_EQ(scale, c.taken) << c.requested;
    }
}

TEST(ContentScale, RefusesWhatNoScreenMeans)
{
    const double refused[] = {0.0,
                              -0.0,
                              -1.0,
                              -2.0,
                              std::numeric_limits<double>::quiet_NaN(),
                              std::numeric_limits<double>::infinity(),
                              -std::numeric_limits<double>::infinity()};
    for (const double requested : refused)
    {
        double scale = 1.5;
        EXPECT_FALSE(ContentScaleFor(requested, scale)) << requested;
        EXPECT_EQ(scale, 1.5) << requested; // untouched
    }
}

TEST(ContentScale, ScaledLengthsRoundToWholePixels)
{
    EXPECT_EQ(ScaledLength(450, 1.0), 450);
    EXPECT_EQ(ScaledLength(450, 1.25), 563); // 562.5
    EXPECT_EQ(ScaledLength(500, 1.25), 625);
    EXPECT_EQ(ScaledLength(450, 1.5), 675);
    EXPECT_EQ(ScaledLength(500, 2.0), 1000);
    EXPECT_EQ(ScaledLength(450, 3.0), 1350);
}

} // namespace
} // namespace vrn
