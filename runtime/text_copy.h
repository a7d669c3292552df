#pragma once
// Bounded copies of texts into host buffers.

#include <cstddef>
#include <cstring>
#include <string>

namespace vrn
{

/// Longest host text the plug-in reads, bytes (hosts may pass unterminated buffers).
constexpr std::size_t kMaxHostTextLength = 1024;

/// Copies `text` into `buffer` of `capacity` bytes (terminator included), cutting when longer.
inline void CopyText(char* buffer, std::size_t capacity, const std::string& text)
{
    if (!buffer || capacity == 0)
        return;
    const std::size_t length = text.size() < capacity - 1 ? text.size() : capacity - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = 0;
}

/// Length of a host text, reading at most `limit` bytes.
inline std::size_t BoundedLength(const char* text, std::size_t limit)
{
    std::size_t length = 0;
    while (length < limit && text[length] != 0)
        ++length;
    return length;
}

} // namespace vrn
