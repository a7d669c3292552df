#pragma once
// File records of the effect; record 0 is the state stream that carries the host chunk.

#include <cstdint>
#include <string>
#include <vector>

namespace vrn
{

/// One file or stream of values.
struct FileRecord
{
    enum Mode : std::int32_t
    {
        kClosed = 0,
        kReading = 1,
        kWriting = 2,
    };

    std::string name;          ///< file beside the library; empty for the state stream
    std::int32_t position = 0; ///< index of the next value to read or write
    std::vector<float> values; ///< the contents as values
    std::int32_t mode = kClosed;

    /// Flushes, then reopens empty for writing.
    void ResetForWriting();
    /// Flushes, then reopens for reading `count` floats copied from `bytes` (which may be
    /// unaligned; null only when `count` is 0).
    void ResetForReading(const void* bytes, std::size_t count);
    /// Writing mode: stores `value` (rounded to float) at the position, growing when needed.
    void WriteValue(double value);
    /// Reading mode: sets `variable` from the value at the position if there is one.
    void ReadValue(double& variable);
    /// Transfers one variable in the direction of the mode (write, read, or nothing).
    void Transfer(double& variable);
    /// Writing mode with a name: writes each value as one byte to the named file beside the
    /// library.
    void Flush() const;
};

} // namespace vrn
