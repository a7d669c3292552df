#pragma once
// What every tool's command line shares: main() with its last-resort error handling, error
// lines, number parsing, and reading and writing whole files.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace vrn
{

/// The running tool's name, for messages; RunMain sets it.
inline const char*& ToolName()
{
    static const char* name = "tool";
    return name;
}

/// Runs `body(argc, argv)` as tool `name`'s whole program and returns its exit code. An
/// exception that escapes becomes "NAME: error: WHAT" on stderr and exit code `failure`.
template <typename Body>
int RunMain(const char* name, int argc, char** argv, Body body, int failure = 1)
{
    ToolName() = name;
    try
    {
        const int code = body(argc, argv);
        std::fflush(stdout);
        return code;
    }
    catch (const std::exception& e)
    {
        std::fprintf(stderr, "%s: error: %s\n", name, e.what());
    }
    catch (...)
    {
        std::fprintf(stderr, "%s: unknown error\n", name);
    }
    return failure;
}

/// Prints "TOOL: MESSAGE" on stderr, after whatever stdout holds so far.
inline void PrintError(const std::string& message)
{
    std::fflush(stdout);
    std::fprintf(stderr, "%s: %s\n", ToolName(), message.c_str());
}

/// Prints `line` and a line break on stdout.
inline void PrintLine(const std::string& line)
{
    std::fputs(line.c_str(), stdout);
    std::fputc('\n', stdout);
}

/// `value` formatted by the printf `format` (one floating-point conversion).
inline std::string Format(const char* format, double value)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, format, value);
    return text;
}

/// Plug-in text as one printable line: control characters become '?'.
inline std::string Printable(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            c = '?';
    }
    return line;
}

/// A decimal integer within minimum..maximum, with nothing before or after it.
[[nodiscard]] inline bool ParseInteger(const std::string& text, long long minimum,
                                       long long maximum, long long& out)
{
    if (text.empty() || !(text[0] == '-' || text[0] == '+' || (text[0] >= '0' && text[0] <= '9')))
        return false;
    errno = 0;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (errno != 0 || end == nullptr || *end != '\0' || value < minimum || value > maximum)
        return false;
    out = value;
    return true;
}

/// A number `convert` (strtof, strtod) reads as a whole, with nothing before or after it.
template <typename Number>
[[nodiscard]] bool ParseWhole(const std::string& text, Number (*convert)(const char*, char**),
                              Number& out)
{
    if (text.empty() || text[0] == ' ' || text[0] == '\t')
        return false;
    char* end = nullptr;
    const Number value = convert(text.c_str(), &end);
    if (end == nullptr || end == text.c_str() || *end != '\0')
        return false;
    out = value;
    return true;
}

/// Any number strtof reads, nan and inf included, with nothing before or after it.
[[nodiscard]] inline bool ParseFloat(const std::string& text, float& out)
{
    return ParseWhole(text, std::strtof, out);
}

/// A finite number, with nothing before or after it.
[[nodiscard]] inline bool ParseDouble(const std::string& text, double& out)
{
    double value = 0.0;
    if (!ParseWhole(text, std::strtod, value) || !std::isfinite(value))
        return false;
    out = value;
    return true;
}

/// Reads the whole file at `path`; false with `error` saying why.
[[nodiscard]] inline bool ReadFile(const std::string& path, std::vector<unsigned char>& bytes,
                                   std::string& error)
{
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
    {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return false;
    }
    unsigned char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        error = "cannot read " + path;
    return !failed;
}

/// Writes `bytes` to `path`, replacing the file; false with `error` saying why.
[[nodiscard]] inline bool WriteFile(const std::string& path,
                                    const std::vector<unsigned char>& bytes, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
    {
        error = "cannot create " + path + ": " + std::strerror(errno);
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed)
        error = "cannot write " + path;
    return written && closed;
}

} // namespace vrn
