// The Turtle writer: numbers and strings as Turtle reads them, and a slider table that cannot
// become the control ports is caught at build time.
#include "lv2/turtle_description.h"

#include "effect/gate_effect.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vrn::lv2
{
namespace
{

TEST(TurtleDescription, NumbersReadBackExactly)
{
    EXPECT_EQ(TurtleNumber(20.0, true), "20");
    EXPECT_EQ(TurtleNumber(-45.0, true), "-45");
    EXPECT_EQ(TurtleNumber(500.0, false), "500.0") << "a decimal, not an integer";
    EXPECT_EQ(TurtleNumber(0.1, false), "0.1");
    EXPECT_EQ(TurtleNumber(0.5, true), "0.5") << "not whole: no integer";
    for (const double value : {2.1, 1.0 / 3.0, -1e-9, 123456.789, 1e300})
        EXPECT_EQ(std::strtod(TurtleNumber(value, false).c_str(), nullptr), value) << value;
}

TEST(TurtleDescription, StringsEscapeQuotesAndBackslashes)
{
    EXPECT_EQ(TurtleString("Ratio [Exp<>Gate]"), "\"Ratio [Exp<>Gate]\"");
    EXPECT_EQ(TurtleString("a \"b\" \\c"), "\"a \\\"b\\\" \\\\c\"");
}

TEST(TurtleDescription, TheGateTableFitsTheControlPorts)
{
    const TXaltoEffect gate;
    EXPECT_EQ(DescriptionProblem(gate), "");
    const std::string turtle = PluginTurtle(gate);
    EXPECT_NE(turtle.find("lv2:GatePlugin"), std::string::npos);
    EXPECT_NE(turtle.find("lv2:optionalFeature lv2:hardRTCapable"), std::string::npos);
}

TEST(TurtleDescription, SliderTablesThatCannotBePortsAreNamed)
{
    CXaltoDescription tooFew;
    tooFew.DeclareSlider(1, 0.0, 0.0, 1.0, 1.0, "", "", "Only");
    tooFew.IdentifySlider("only", SliderUnit::kNone);
    EXPECT_NE(DescriptionProblem(tooFew).find("declares 1 sliders"), std::string::npos);

    // Ten sliders whose symbols go wrong one way or another.
    for (const char* symbol : {"", "2nd", "with space", "latency", "twice"})
    {
        CXaltoDescription d;
        for (int i = 1; i <= 10; ++i)
        {
            d.DeclareSlider(i, 0.0, 0.0, 1.0, 1.0, "", "", "Slider " + std::to_string(i));
            d.IdentifySlider(i < 10 ? "s" + std::to_string(i) : symbol, SliderUnit::kNone);
        }
        if (std::string(symbol) == "twice")
            d.IdentifySlider("s1", SliderUnit::kNone);
        EXPECT_NE(DescriptionProblem(d), "") << symbol;
    }
}

} // namespace
} // namespace vrn::lv2
