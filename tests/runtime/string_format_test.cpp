// Tests of the sprintf and strcat built-ins over string slots, including hostile formats.
#include "runtime/string_slots.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vrn
{
namespace
{

/// Formats `args` by `format` (slot 1) into slot 2 of fresh slots and answers slot 2.
std::string Format(const std::string& format, std::vector<double> args = {})
{
    StringSlots slots;
    slots.Assign(1, format);
    slots.Sprintf(2, 1, args.data(), args.size());
    return slots.Slot(2);
}

TEST(StringFormat, WritesDestinationKeepsFormatAndAnswersDestination)
{
    StringSlots slots;
    slots.Assign(1, "%.0f");
    const double twenty = 20.0;
    EXPECT_EQ(slots.Sprintf(2.7, 1, &twenty, 1), 2.7);
    EXPECT_EQ(slots.Slot(2), "20");
    EXPECT_EQ(slots.Slot(1), "%.0f");

    slots.Assign(3, "x%dy");
    const double four = 4.0;
    slots.Sprintf(3, 3, &four, 1); // destination is the format slot
    EXPECT_EQ(slots.Slot(3), "x4y");
}

TEST(StringFormat, PercentDRoundsTowardTheSign)
{
    EXPECT_EQ(Format("%d", {2.99995}), "3");
    EXPECT_EQ(Format("%d", {-0.99995}), "-1");
    EXPECT_EQ(Format("%i|%d", {2.5, -2.5}), "2|-2");
    EXPECT_EQ(Format("%x %X %o %u", {255, 171, 8, -1}), "ff AB 10 4294967295");
    EXPECT_EQ(Format("%c%c", {64.99995, 98}), "Ab");
    EXPECT_EQ(Format("%g %.2e %G", {0.5, 1234.5, 1e-10}), "0.5 1.23e+03 1E-10");
}

TEST(StringFormat, PercentSNamesASlotAndCreatesAMissingOne)
{
    StringSlots slots;
    slots.Assign(1, "<%s|%s>");
    slots.Assign(5, "abc");
    const double args[] = {5, 9};
    slots.Sprintf(1, 1, args, 2);
    EXPECT_EQ(slots.Slot(1), "<abc|>");
    EXPECT_TRUE(slots.Contains(9));
    EXPECT_EQ(slots.Count(), 3.0);
}

TEST(StringFormat, ConversionRunsToTheFirstLetter)
{
    EXPECT_EQ(Format("ab%"), "ab");
    EXPECT_EQ(Format("ab%5.2 -", {1}), "ab");
    EXPECT_EQ(Format("%q%d", {7}), "7");
    EXPECT_EQ(Format("%ld|%F%a%p%d", {7}), "d|7");
    EXPECT_EQ(Format("%%d%d", {5, 6}), "%d6"); // "%%d" is one conversion and takes an argument
    EXPECT_EQ(Format(std::string("ab\0%d", 5), {1}), "ab");
}

TEST(StringFormat, MissingArgumentsCountAsZeroAndEmptyText)
{
    StringSlots slots;
    slots.Assign(1, "%d,%.1f,%s,%c|");
    const std::vector<double> args = {3}; // on the heap, so a read past it is caught by ASan
    slots.Sprintf(2, 1, args.data(), args.size());
    EXPECT_EQ(slots.Slot(2), "3,0.0,,"); // %c of 0 ends the text
    EXPECT_EQ(slots.Count(), 2.0);       // the missing %s argument named no slot
    slots.Sprintf(2, 1, nullptr, 4);
    EXPECT_EQ(slots.Slot(2), "0,0.0,,");
}

TEST(StringFormat, HostileConversionsNeverReachSnprintf)
{
    EXPECT_EQ(Format("%n|%5n|%-n%d", {7}), "||7");
    EXPECT_EQ(Format("%hn%lln", {7}), "nln"); // 'h' and 'l' end their conversions
    EXPECT_EQ(Format("%*d|%.*f|%1$d|%d", {5, 6, 7, 8}), "|||8"); // each takes its argument
}

TEST(StringFormat, ACharacterZeroEndsTheTextAsInC)
{
    EXPECT_EQ(Format("a%cb", {0}), "a");
    EXPECT_EQ(Format("a%3cb%d", {0, 7}), "a  ");
    EXPECT_EQ(Format("a%-3cb", {0}), "a");
    EXPECT_EQ(Format("a%cb", {256}), "a"); // 256 is a char of 0 as well
    EXPECT_EQ(Format("a%cb%3c", {65, 66}), "aAb  B");
    // The walk goes on after the NUL: later %s conversions still look up their slots.
    StringSlots slots;
    slots.Assign(1, "%c%s");
    const double args[] = {0, 7};
    slots.Sprintf(2, 1, args, 2);
    EXPECT_EQ(slots.Slot(2), "");
    EXPECT_EQ(slots.Count(), 3.0);
}

TEST(StringFormat, OutputIsCutAt523Characters)
{
    EXPECT_EQ(Format(std::string(600, 'a')), std::string(523, 'a'));
    EXPECT_EQ(Format(std::string(520, 'a') + "%d", {12345}), std::string(520, 'a') + "123");
    EXPECT_EQ(Format("%600d", {1}), std::string(523, ' '));

    StringSlots slots;
    slots.Assign(3, std::string(1000, 'x'));
    slots.Assign(1, "%s%s");
    const double args[] = {3, 4};
    slots.Sprintf(2, 1, args, 2);
    EXPECT_EQ(slots.Slot(2), std::string(523, 'x'));
    EXPECT_TRUE(slots.Contains(4)); // looked up although nothing more fits
}

TEST(StringFormat, HugeWidthsAndPrecisionsStayBounded)
{
    EXPECT_EQ(Format("%99999999d", {5}), std::string(523, ' '));
    EXPECT_EQ(Format("%-99999999999999999999d|", {5}), "5" + std::string(522, ' '));
    EXPECT_EQ(Format("%099999999d", {-5}), "-" + std::string(522, '0'));
    EXPECT_EQ(Format("%.500f", {1}), "1." + std::string(500, '0'));
    EXPECT_EQ(Format("%.99999999f", {1}), "1." + std::string(521, '0'));
    EXPECT_EQ(Format("%.99999999e", {1e308}).size(), 523u);
}

TEST(StringFormat, LongConversionTextKeepsItsLetter)
{
    const std::string flags(298, '-');
    EXPECT_EQ(Format("%" + flags + "d|%d", {42, 7}), "42|7");
    EXPECT_EQ(Format("%" + std::string(253, ' ') + "+++5d", {3}), " 3");
}

TEST(StringSlots, StrcatAppendsAndCreatesMissingSlots)
{
    StringSlots slots;
    slots.Assign(1, "abc");
    slots.Strcat(2, 1);
    EXPECT_EQ(slots.Slot(2), "abc");
    EXPECT_EQ(slots.Count(), 2.0);
    slots.Strcat(2, 2);
    EXPECT_EQ(slots.Slot(2), "abcabc");
    slots.Strcat(1, 7);
    EXPECT_EQ(slots.Slot(1), "abc");
    EXPECT_EQ(slots.Count(), 3.0);
}

} // namespace
} // namespace vrn
