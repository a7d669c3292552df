#pragma once
// Reading a PNG file's pixels for the test helpers, with the platform's own decoder.

#include <cstdint>
#include <vector>

namespace vrn
{

/// The pixels of the PNG file at `path` as 0xRRGGBB, rows top to bottom; false when it cannot
/// be read.
[[nodiscard]] bool ReadPng(const char* path, int& width, int& height,
                           std::vector<std::uint32_t>& pixels);

} // namespace vrn
