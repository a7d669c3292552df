// The resource stream's read and seek rules.
#include "editor/resource_stream.h"

#include <gtest/gtest.h>

namespace vrn
{
namespace
{

TEST(ResourceStream, ReadPastTheEndCopiesNothing)
{
    const char data[] = {1, 2, 3, 4, 5};
    ResourceStreamCursor stream(data, 5);
    char buffer[8] = {9, 9, 9, 9, 9, 9, 9, 9};
    std::uint32_t got = 77;
    EXPECT_EQ(stream.read(buffer, 3, &got), 0);
    EXPECT_EQ(got, 3u);
    EXPECT_EQ(buffer[2], 3);
    EXPECT_EQ(stream.read(buffer, 3, &got), 1);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(buffer[0], 1); // untouched
    EXPECT_EQ(stream.getPosition(), 3u);
    EXPECT_EQ(stream.read(buffer, 2, &got), 0);
    EXPECT_EQ(buffer[1], 5);
}

TEST(ResourceStream, SeekStaysInsideTheBlock)
{
    const char data[10] = {};
    ResourceStreamCursor stream(data, 10);
    std::uint64_t at = 0;
    EXPECT_EQ(stream.seek(9, 0, &at), 0);
    EXPECT_EQ(at, 9u);
    EXPECT_EQ(stream.seek(10, 0, &at), 1); // exactly the size fails
    EXPECT_EQ(stream.seek(-4, 1, &at), 0);
    EXPECT_EQ(at, 5u);
    EXPECT_EQ(stream.seek(5, 1, &at), 1);
    EXPECT_EQ(stream.seek(-6, 1, &at), 1); // before the start: refused, not wrapped
    EXPECT_EQ(stream.seek(-1, 0, &at), 1);
    EXPECT_EQ(stream.seek(0, 2, &at), 1);
    EXPECT_EQ(stream.seek(0, 3, &at), ResourceStreamCursor::kInvalidFunction);
    EXPECT_EQ(stream.getPosition(), 5u);
    EXPECT_EQ(stream.revert(), 0);
    EXPECT_EQ(stream.getPosition(), 0u);
}

} // namespace
} // namespace vrn
