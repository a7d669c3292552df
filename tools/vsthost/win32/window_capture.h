#pragma once
// Saving a window's client area, as it shows on screen, as a PNG file.

#include <windows.h>

#include <string>

namespace vrn
{

/// Copies the top-left `width` x `height` pixels of `window`'s client area, child windows
/// included, and writes them to `path` as a PNG file with GDI+'s encoder. False with `error`.
[[nodiscard]] bool SaveWindowPng(HWND window, int width, int height, const std::string& path,
                                 std::string& error);

} // namespace vrn
