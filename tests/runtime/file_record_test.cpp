// Tests of the file records: the state stream's transfer rules and the byte-per-value flush.
#include "runtime/file_record.h"

#include "runtime/library_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

namespace vrn
{
namespace
{

constexpr float kMarker = -1000.0f;

std::string ReadBesideLibrary(const std::string& name)
{
    std::ifstream in(LibraryFolder() + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FileRecord, WritingStoresValuesAndGrowsOnlyAtTheEnd)
{
    FileRecord record;
    record.ResetForWriting();
    for (double value : {1.0, 2.0, 3.0})
        record.WriteValue(value);
    EXPECT_EQ(record.values, (std::vector<float>{1.0f, 2.0f, 3.0f}));

    record.position = 1;
    record.WriteValue(kMarker);
    record.WriteValue(0.1); // stored as float
    EXPECT_EQ(record.values, (std::vector<float>{1.0f, kMarker, 0.1f}));
    record.WriteValue(4.0);
    EXPECT_EQ(record.values.size(), 4u);
    EXPECT_EQ(record.position, 4);
}

TEST(FileRecord, ReadingPastTheEndLeavesVariablesUnchanged)
{
    const float stream[] = {kMarker, 0.5f};
    unsigned char unaligned[1 + sizeof(stream)];
    std::memcpy(unaligned + 1, stream, sizeof(stream));
    FileRecord record;
    record.ResetForReading(unaligned + 1, 2);

    double marker = 0.0;
    double a = 7.0;
    double b = 8.0;
    double c = 9.0;
    for (double* variable : {&marker, &a, &b, &c})
        record.ReadValue(*variable);
    EXPECT_EQ(marker, -1000.0);
    EXPECT_EQ(a, 0.5);
    EXPECT_EQ(b, 8.0);
    EXPECT_EQ(c, 9.0);
    EXPECT_EQ(record.position, 2);
}

TEST(FileRecord, FlushWritesOneIndexRoundedBytePerValue)
{
    const std::string name = "vrn_file_record_test.bin";
    FileRecord record;
    record.ResetForWriting();
    record.name = name;
    for (double value : {-1.0, 300.0, 2.99995})
        record.WriteValue(value);
    record.Flush();
    EXPECT_EQ(ReadBesideLibrary(name), std::string("\xFF\x2C\x03", 3));

    // Reopening flushes the named record first, then forgets its name.
    record.WriteValue(65.0);
    record.ResetForWriting();
    EXPECT_EQ(ReadBesideLibrary(name), std::string("\xFF\x2C\x03"
                                                   "A",
                                                   4));
    record.WriteValue(1.0);
    record.Flush();
    EXPECT_EQ(ReadBesideLibrary(name).size(), 4u);
    std::remove((LibraryFolder() + name).c_str());
}

} // namespace
} // namespace vrn
