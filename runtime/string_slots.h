#pragma once
// Numbered text slots of the effect, the sprintf and strcat built-ins over them.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>

namespace vrn
{

/// An ordered map from slot number to text; a looked-up slot that is missing is created empty.
class StringSlots
{
public:
    /// Text of the slot that `number` names (index rounding); created empty when missing.
    std::string& Slot(double number);

    /// Replaces the text of slot `number`, creating it when missing.
    void Assign(double number, const std::string& text);

    /// True when slot `number` exists (does not create it).
    bool Contains(double number) const;

    /// Removes every slot.
    void Clear();

    /// Number of slots, refreshed by every lookup (an effect variable).
    double Count() const { return count; }

    /// The format built-in: formats `args` by the text of slot `format` into slot `destination`.
    /// %e %f %g %E %G take a double, %d %i %o %u %x %X %c an index-rounded integer, %s names a
    /// slot; other conversions are dropped. Output is cut at 523 characters. Answers `destination`.
    double Sprintf(double destination, double format, const double* args, std::size_t argCount);

    /// The append built-in: appends the text of slot `source` to slot `destination`.
    void Strcat(double destination, double source);

private:
    std::map<std::int32_t, std::string> slots;
    double count = 0.0;
};

} // namespace vrn
