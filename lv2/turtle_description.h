#pragma once
// The bundle's Turtle files, written from the effect's own slider table and names.

#include "runtime/description.h"

#include <string>

namespace vrn::lv2
{

/// manifest.ttl: the plug-in's URI, its library `binaryFile` and its description file
/// `descriptionFile` (both relative to the bundle).
std::string ManifestTurtle(const std::string& binaryFile, const std::string& descriptionFile);

/// The plug-in's description: name, vendor, class, features and every port. Control port i is
/// host parameter i of `effect`: its name, symbol, range, default, unit, step and options.
std::string PluginTurtle(const CXaltoDescription& effect);

/// What keeps `effect`'s sliders from being the control ports (their count, a symbol that is
/// missing, malformed or taken twice); empty when they fit.
std::string DescriptionProblem(const CXaltoDescription& effect);

/// Finite `value` as a Turtle number: the integer itself when `integral` and the value is
/// whole, else fixed point with the fewest decimals that read back as the same double.
std::string TurtleNumber(double value, bool integral);

/// `text` as a Turtle string literal, quotes included.
std::string TurtleString(const std::string& text);

} // namespace vrn::lv2
