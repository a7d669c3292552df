#pragma once
// Text conversion between the editor's UTF-8 and the UTF-16 of the Windows interfaces.

#include <string>
#include <string_view>

namespace vrn
{

/// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::wstring Widen(std::string_view utf8);
/// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view utf16);

} // namespace vrn
