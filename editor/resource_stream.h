#pragma once
// Reading and seeking over a block of resource memory, as the image decoder's stream sees it.

#include <cstdint>
#include <cstring>

namespace vrn
{

/// Read position over a read-only memory block. Answers are the stream interface's codes:
/// 0 success, 1 (S_FALSE) refused without moving.
class ResourceStreamCursor
{
public:
    static constexpr std::int32_t kOk = 0;
    static constexpr std::int32_t kFalse = 1;
    static constexpr std::int32_t kInvalidFunction = static_cast<std::int32_t>(0x80030001u);

    ResourceStreamCursor(const void* block, std::uint32_t byteCount)
        : data(static_cast<const std::uint8_t*>(block)), size(byteCount)
    {
    }

    /// Copies `count` bytes; a read past the end copies nothing and answers 1.
    std::int32_t read(void* buffer, std::uint32_t count, std::uint32_t* readCount)
    {
        if (readCount)
            *readCount = 0;
        if (static_cast<std::uint64_t>(position) + count > size)
            return kFalse;
        if (count > 0)
            std::memcpy(buffer, data + position, count);
        position += count;
        if (readCount)
            *readCount = count;
        return kOk;
    }

    /// Origin 0 from the start, 1 from the current position; the target must lie before the
    /// end. Origin 2 (from the end) is refused; other origins are invalid.
    std::int32_t seek(std::int64_t offset, std::uint32_t origin, std::uint64_t* newPosition)
    {
        std::int64_t target = 0;
        if (origin == 0)
            target = offset;
        else if (origin == 1)
            target = static_cast<std::int64_t>(position) + offset;
        else if (origin == 2)
            return kFalse;
        else
            return kInvalidFunction;
        if (target < 0 || target >= static_cast<std::int64_t>(size))
            return kFalse;
        position = static_cast<std::uint32_t>(target);
        if (newPosition)
            *newPosition = position;
        return kOk;
    }

    /// Back to the start.
    std::int32_t revert()
    {
        position = 0;
        return kOk;
    }

    std::uint32_t getSize() const { return size; }
    std::uint32_t getPosition() const { return position; }

private:
    const std::uint8_t* data;
    std::uint32_t position = 0;
    std::uint32_t size;
};

} // namespace vrn
