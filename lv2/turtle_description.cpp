// Turtle for the bundle: manifest and plug-in description from the slider table.
#include "lv2/turtle_description.h"

#include "effect/gate_coefficients.h"
#include "lv2/lv2_identity.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

namespace vrn::lv2
{

namespace
{

constexpr char kPrefixes[] = "@prefix atom:   <http://lv2plug.in/ns/ext/atom#> .\n"
                             "@prefix doap:   <http://usefulinc.com/ns/doap#> .\n"
                             "@prefix foaf:   <http://xmlns.com/foaf/0.1/> .\n"
                             "@prefix lv2:    <http://lv2plug.in/ns/lv2core#> .\n"
                             "@prefix pprops: <http://lv2plug.in/ns/ext/port-props#> .\n"
                             "@prefix rdf:    <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
                             "@prefix rdfs:   <http://www.w3.org/2000/01/rdf-schema#> .\n"
                             "@prefix state:  <http://lv2plug.in/ns/ext/state#> .\n"
                             "@prefix units:  <http://lv2plug.in/ns/extensions/units#> .\n"
                             "@prefix urid:   <http://lv2plug.in/ns/ext/urid#> .\n";

const char* UnitName(SliderUnit unit)
{
    switch (unit)
    {
    case SliderUnit::kMilliseconds:
        return "units:ms";
    case SliderUnit::kDecibels:
        return "units:db";
    case SliderUnit::kHertz:
        return "units:hz";
    case SliderUnit::kPercent:
        return "units:pc";
    case SliderUnit::kNone:
        break;
    }
    return nullptr;
}

bool IsWhole(double value)
{
    return std::isfinite(value) && std::floor(value) == value;
}

/// Integer controls: a step of 1 over a range with whole ends.
bool IsIntegral(const SliderInfo& info)
{
    return info.step == 1.0 && IsWhole(info.minimum) && IsWhole(info.maximum);
}

/// Values from minimum to maximum in steps (ends included), or 0 when the step does not
/// divide the range evenly.
long long RangeSteps(const SliderInfo& info)
{
    if (!(info.step > 0.0) || !(info.maximum > info.minimum))
        return 0;
    const double intervals = (info.maximum - info.minimum) / info.step;
    const double whole = std::round(intervals);
    if (std::fabs(intervals - whole) > 1e-9 * whole)
        return 0;
    return static_cast<long long>(whole) + 1;
}

/// The value option `k` of `n` stands for: the inverse of the host display's choice.
double OptionValue(const SliderInfo& info, std::size_t k, std::size_t n)
{
    if (n < 2)
        return info.minimum;
    return info.minimum +
           static_cast<double>(k) * (info.maximum - info.minimum) / static_cast<double>(n - 1);
}

void WriteControlPort(std::ostringstream& out, std::uint32_t index, const SliderInfo& info)
{
    const bool integral = IsIntegral(info);
    out << "        a lv2:InputPort , lv2:ControlPort ;\n"
        << "        lv2:index " << index << " ;\n"
        << "        lv2:symbol " << TurtleString(info.symbol) << " ;\n"
        << "        lv2:name " << TurtleString(info.name) << " ;\n"
        << "        lv2:default " << TurtleNumber(info.defaultValue, integral) << " ;\n"
        << "        lv2:minimum " << TurtleNumber(info.minimum, integral) << " ;\n"
        << "        lv2:maximum " << TurtleNumber(info.maximum, integral);
    if (!info.options.empty())
    {
        out << " ;\n        lv2:portProperty "
            << (integral ? "lv2:integer , lv2:enumeration" : "lv2:enumeration");
        for (std::size_t k = 0; k < info.options.size(); ++k)
        {
            out << (k == 0 ? " ;\n        lv2:scalePoint [\n" : " , [\n")
                << "            rdfs:label " << TurtleString(info.options[k]) << " ;\n"
                << "            rdf:value "
                << TurtleNumber(OptionValue(info, k, info.options.size()), integral)
                << "\n        ]";
        }
    }
    else if (integral)
    {
        out << " ;\n        lv2:portProperty lv2:integer";
    }
    else if (const long long steps = RangeSteps(info))
    {
        out << " ;\n        pprops:rangeSteps " << steps;
    }
    if (const char* unit = UnitName(info.unit))
        out << " ;\n        units:unit " << unit;
    out << "\n";
}

void WriteAudioPort(std::ostringstream& out, std::uint32_t index, bool input, const char* symbol,
                    const char* name)
{
    out << "        a lv2:" << (input ? "InputPort" : "OutputPort") << " , lv2:AudioPort ;\n"
        << "        lv2:index " << index << " ;\n"
        << "        lv2:symbol " << TurtleString(symbol) << " ;\n"
        << "        lv2:name " << TurtleString(name) << "\n";
}

void WriteLatencyPort(std::ostringstream& out)
{
    // Both the current designation and the older port property: hosts read one or the other.
    out << "        a lv2:OutputPort , lv2:ControlPort ;\n"
        << "        lv2:index " << kLatency << " ;\n"
        << "        lv2:symbol \"latency\" ;\n"
        << "        lv2:name \"Latency\" ;\n"
        << "        lv2:designation lv2:latency ;\n"
        << "        lv2:portProperty lv2:reportsLatency , lv2:integer , pprops:notOnGUI ;\n"
        << "        lv2:minimum 0 ;\n"
        << "        lv2:maximum " << TurtleNumber(gate::kMaxDelayLength, true) << " ;\n"
        << "        units:unit units:frame\n";
}

} // namespace

std::string TurtleNumber(double value, bool integral)
{
    if (integral && IsWhole(value) && std::fabs(value) < 1e15)
        return std::to_string(static_cast<long long>(value));
    // Fixed point with as few decimals as reads back exactly; else the full exponent form.
    char text[400];
    for (int decimals = 1; decimals <= 17; ++decimals)
    {
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
        if (std::strtod(text, nullptr) == value)
            return text;
    }
    std::snprintf(text, sizeof text, "%.17g", value);
    std::string number = text;
    // Without a point or an exponent Turtle reads an integer.
    if (number.find_first_of(".e") == std::string::npos)
        number += ".0";
    return number;
}

std::string TurtleString(const std::string& text)
{
    std::string literal = "\"";
    for (const char c : text)
    {
        if (c == '"' || c == '\\')
            literal += '\\';
        literal += c;
    }
    return literal + "\"";
}

std::string DescriptionProblem(const CXaltoDescription& effect)
{
    const std::vector<SliderInfo>& sliders = effect.SliderInfos();
    if (sliders.size() != kControlPortCount)
        return "the effect declares " + std::to_string(sliders.size()) + " sliders, not " +
               std::to_string(kControlPortCount);
    std::set<std::string> symbols = {"in_l", "in_r", "out_l", "out_r", "latency"};
    for (const SliderInfo& info : sliders)
    {
        const std::string& symbol = info.symbol;
        const bool wellFormed =
            !symbol.empty() && std::isalpha(static_cast<unsigned char>(symbol[0])) &&
            std::all_of(symbol.begin(), symbol.end(),
                        [](char c)
                        { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
        if (!wellFormed)
            return "slider \"" + info.name + "\" has no valid symbol (\"" + symbol + "\")";
        if (!symbols.insert(symbol).second)
            return "symbol \"" + symbol + "\" is used twice";
    }
    return {};
}

std::string ManifestTurtle(const std::string& binaryFile, const std::string& descriptionFile)
{
    std::ostringstream out;
    out << "@prefix lv2:  <http://lv2plug.in/ns/lv2core#> .\n"
        << "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n\n"
        << "<" << kPluginUri << ">\n"
        << "    a lv2:Plugin ;\n"
        << "    lv2:binary <" << binaryFile << "> ;\n"
        << "    rdfs:seeAlso <" << descriptionFile << "> .\n";
    return out.str();
}

std::string PluginTurtle(const CXaltoDescription& effect)
{
    std::ostringstream out;
    out << kPrefixes << "\n"
        << "<" << kPluginUri << ">\n"
        << "    a lv2:Plugin , lv2:GatePlugin ;\n"
        << "    doap:name " << TurtleString(effect.effectName) << " ;\n"
        << "    doap:maintainer [\n"
        << "        foaf:name " << TurtleString(effect.vendorString) << "\n"
        << "    ] ;\n"
        << "    lv2:optionalFeature lv2:hardRTCapable , urid:map ;\n"
        << "    lv2:extensionData state:interface ;\n"
        << "    lv2:port [\n";
    const std::vector<SliderInfo>& sliders = effect.SliderInfos();
    for (std::uint32_t i = 0; i < kControlPortCount && i < sliders.size(); ++i)
    {
        WriteControlPort(out, kFirstControl + i, sliders[i]);
        out << "    ] , [\n";
    }
    WriteAudioPort(out, kInputLeft, true, "in_l", "In L");
    out << "    ] , [\n";
    WriteAudioPort(out, kInputRight, true, "in_r", "In R");
    out << "    ] , [\n";
    WriteAudioPort(out, kOutputLeft, false, "out_l", "Out L");
    out << "    ] , [\n";
    WriteAudioPort(out, kOutputRight, false, "out_r", "Out R");
    out << "    ] , [\n";
    WriteLatencyPort(out);
    out << "    ] .\n";
    return out.str();
}

} // namespace vrn::lv2
