// The sprintf built-in: walks a format text and hands each conversion to the C library's snprintf.
#include "runtime/string_slots.h"

#include "runtime/numeric.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace vrn
{
namespace
{

/// Longest formatted text, in characters (the terminator comes on top).
constexpr std::size_t kMaxOutput = 523;

/// Longest conversion text handed to snprintf, in characters, final letter included.
constexpr std::size_t kMaxConversion = 255;

/// Largest field width and precision passed on. The output is cut at 523 characters, and a
/// double's exact decimal expansion has fewer than 1100 digits, so larger values cannot change
/// what stays visible for one huge field; they would only make the C library pad or compute
/// (and allocate) up to gigabytes that are thrown away.
constexpr unsigned long kMaxWidth = 2048;
constexpr unsigned long kMaxPrecision = 1100;

/// What a conversion takes from the argument list, decided by its final letter.
enum class Argument
{
    kNone,     ///< not a conversion the effect may use: dropped, takes nothing
    kDouble,   ///< e f g E G
    kInteger,  ///< d i c: index-rounded, passed as int
    kUnsigned, ///< o u x X: index-rounded, passed as its unsigned bit pattern
    kText,     ///< s: the argument names a slot
};

bool IsLetter(char c)
{
    // ASCII only: the host's locale must not change where a conversion ends.
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

Argument ArgumentOf(char letter)
{
    switch (letter)
    {
    case 'e':
    case 'f':
    case 'g':
    case 'E':
    case 'G':
        return Argument::kDouble;
    case 'd':
    case 'i':
    case 'c':
        return Argument::kInteger;
    case 'o':
    case 'u':
    case 'x':
    case 'X':
        return Argument::kUnsigned;
    case 's':
        return Argument::kText;
    default:
        // Includes 'n' (would write through a pointer), 'p', 'a', 'F' and the length
        // modifiers 'l', 'h', 'L', 'q', 'j', 'z', 't', 'I': none of them may reach snprintf.
        return Argument::kNone;
    }
}

/// A conversion text made safe for snprintf, terminated.
struct Conversion
{
    char text[kMaxConversion + 1] = {};
    bool usable = false; ///< false when snprintf would read arguments that were never passed
};

/// Copies the conversion text `begin` .. `letter` (inclusive) for snprintf.
/// A text longer than kMaxConversion keeps its first characters and its final letter, so the
/// argument kind stays the one the letter chose. Widths and precisions are clamped. A text with
/// '*' (width or precision from an argument) or '$' (argument by position) is not usable.
Conversion PrepareConversion(const char* begin, const char* letter)
{
    Conversion conversion;
    const auto length = static_cast<std::size_t>(letter - begin) + 1;
    const std::size_t kept = length > kMaxConversion ? kMaxConversion - 1 : length - 1;

    std::size_t out = 0;
    std::size_t i = 0;
    while (i < kept)
    {
        const char c = begin[i];
        if (c == '*' || c == '$')
            return conversion;
        if (!IsDigit(c))
        {
            conversion.text[out++] = c;
            ++i;
            continue;
        }
        const bool precision = i > 0 && begin[i - 1] == '.';
        if (!precision)
        {
            // Leading zeros of a width are the '0' flag, not part of the number.
            while (i < kept && begin[i] == '0')
                conversion.text[out++] = begin[i++];
            if (i == kept || !IsDigit(begin[i]))
                continue;
        }
        const std::size_t runBegin = i;
        unsigned long value = 0;
        const unsigned long limit = precision ? kMaxPrecision : kMaxWidth;
        while (i < kept && IsDigit(begin[i]))
        {
            if (value <= limit)
                value = value * 10 + static_cast<unsigned long>(begin[i] - '0');
            ++i;
        }
        if (value > limit)
        {
            // The clamped number has at most as many digits as the run it replaces.
            out += static_cast<std::size_t>(
                std::snprintf(conversion.text + out, sizeof(conversion.text) - out, "%lu", limit));
        }
        else
        {
            for (std::size_t k = runBegin; k < i; ++k)
                conversion.text[out++] = begin[k];
        }
    }
    conversion.text[out++] = *letter;
    conversion.text[out] = '\0';
    conversion.usable = true;
    return conversion;
}

/// The output buffer: never more than kMaxOutput characters, always terminated. As with C's
/// sprintf, a NUL written by a conversion ('%c' of 0) ends the text: what follows it is not
/// part of the result.
class Output
{
public:
    void Append(char c)
    {
        if (length < kMaxOutput && !ended)
            text[length++] = c;
    }

    /// Lets snprintf write `conversion` with `value` at the end; what does not fit is cut.
    template <typename T>
    void AppendFormatted(const char* conversion, T value)
    {
        if (length >= kMaxOutput || ended)
            return;
        const std::size_t room = kMaxOutput - length;
        const int written = std::snprintf(text + length, room + 1, conversion, value);
        if (written <= 0)
        {
            text[length] = '\0';
            return;
        }
        const std::size_t end = length + std::min(static_cast<std::size_t>(written), room);
        while (length < end && text[length] != '\0')
            ++length;
        ended = length < end;
        text[length] = '\0';
    }

    [[nodiscard]] std::string Text() const { return std::string(text, length); }

private:
    char text[kMaxOutput + 1] = {};
    std::size_t length = 0;
    bool ended = false; ///< a conversion wrote a NUL
};

} // namespace

double StringSlots::Sprintf(double destination, double format, const double* args,
                            std::size_t argCount)
{
    // A copy: the destination may be the format slot itself, and %s lookups may add slots.
    const std::string formatText = Slot(format);
    if (!args)
        argCount = 0;
    std::size_t nextArg = 0;

    Output output;
    // The walk ends at the first NUL, like the C string the format text stands for.
    const char* cursor = formatText.c_str();
    while (*cursor)
    {
        if (*cursor != '%')
        {
            output.Append(*cursor++);
            continue;
        }
        // The conversion runs up to and including the first letter; flags, width, precision
        // and even another '%' are part of it.
        const char* letter = cursor + 1;
        while (*letter && !IsLetter(*letter))
            ++letter;
        if (!*letter)
            break; // an unfinished conversion at the end is dropped, and so is the rest

        const Argument kind = ArgumentOf(*letter);
        if (kind != Argument::kNone)
        {
            // Missing arguments count as 0.0, and a missing slot name as empty text (no slot
            // is created for it): the argument list is never read past its end.
            const bool present = nextArg < argCount;
            const double value = present ? args[nextArg] : 0.0;
            if (present)
                ++nextArg;
            const Conversion conversion = PrepareConversion(cursor, letter);
            // The slot is looked up even when the conversion is unusable or the output is
            // full, so the slots that exist afterwards depend only on the format and arguments.
            const std::string text = kind == Argument::kText && present ? Slot(value) : "";
            if (conversion.usable)
            {
                switch (kind)
                {
                case Argument::kDouble:
                    output.AppendFormatted(conversion.text, value);
                    break;
                case Argument::kInteger:
                    output.AppendFormatted(conversion.text, static_cast<int>(RoundIndex(value)));
                    break;
                case Argument::kUnsigned:
                    output.AppendFormatted(conversion.text,
                                           static_cast<unsigned>(RoundIndex(value)));
                    break;
                case Argument::kText:
                    output.AppendFormatted(conversion.text, text.c_str());
                    break;
                case Argument::kNone:
                    break;
                }
            }
        }
        cursor = letter + 1;
    }

    Assign(destination, output.Text());
    return destination;
}

} // namespace vrn
