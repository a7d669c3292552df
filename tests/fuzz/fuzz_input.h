#pragma once
// Decodes a fuzz input into the values of a call sequence: small choices, integers, floats and
// byte runs, with the edge values a misbehaving host sends made likely.

#include <cfloat>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace vrn::fuzz
{

/// Prints one line (printf format) about the call being made when the environment variable
/// VRN_FUZZ_TRACE is set: replaying an input with it shows the calls it decodes to.
inline void Trace(const char* format, ...)
{
    static const bool tracing = std::getenv("VRN_FUZZ_TRACE") != nullptr;
    if (!tracing)
        return;
    std::va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputc('\n', stderr);
}

/// Reads the input front to back; every value reads as 0 once the input is used up.
class Reader
{
public:
    Reader(const std::uint8_t* d, std::size_t n) : data(d), size(n) {}

    bool More() const { return at < size; }

    /// The next sizeof(T) bytes as a T (zeros past the end).
    template <class T>
    T Take()
    {
        T value{};
        const std::size_t n = sizeof(T) < size - at ? sizeof(T) : size - at;
        std::memcpy(&value, data + at, n);
        at += n;
        return value;
    }

    /// A choice in 0 … count − 1 (count 1 … 256).
    unsigned Choose(unsigned count) { return Take<std::uint8_t>() % count; }

    /// Mostly a small number in −2 … 253, sometimes any 32-bit number.
    std::int32_t Int()
    {
        const auto pick = Take<std::uint8_t>();
        if (pick < 240)
            return static_cast<std::int32_t>(Take<std::uint8_t>()) - 2;
        return Take<std::int32_t>();
    }

    /// A float: an edge value (0, ±1, NaN, ±infinity, the smallest and largest, a hair above 1)
    /// or any bit pattern.
    float Float()
    {
        static const float kEdges[] = {0.0f,
                                       1.0f,
                                       0.5f,
                                       -0.0f,
                                       -1.0f,
                                       std::numeric_limits<float>::quiet_NaN(),
                                       std::numeric_limits<float>::infinity(),
                                       -std::numeric_limits<float>::infinity(),
                                       std::numeric_limits<float>::denorm_min(),
                                       FLT_MAX,
                                       -FLT_MAX,
                                       std::nextafter(1.0f, 2.0f),
                                       std::nextafter(0.0f, -1.0f),
                                       48000.0f,
                                       1e9f,
                                       1.0f / 3.0f};
        constexpr unsigned kEdgeCount = sizeof kEdges / sizeof kEdges[0];
        const auto pick = Take<std::uint8_t>();
        if (pick < kEdgeCount * 8)
            return kEdges[pick % kEdgeCount];
        return Take<float>();
    }

    /// Copies up to `limit` input bytes to `out`; answers how many (fewer at the end).
    std::size_t Bytes(void* out, std::size_t limit)
    {
        const std::size_t n = limit < size - at ? limit : size - at;
        if (n > 0)
            std::memcpy(out, data + at, n);
        at += n;
        return n;
    }

private:
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
};

} // namespace vrn::fuzz
