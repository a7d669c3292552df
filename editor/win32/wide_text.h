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

/// UTF-8 as UTF-16 for the length of one call, without allocating for short texts (the
/// editor's labels and values are drawn every frame).
class WideText
{
public:
    explicit WideText(std::string_view utf8);
    WideText(const WideText&) = delete;
    WideText& operator=(const WideText&) = delete;

    const wchar_t* data() const { return longText.empty() ? shortText : longText.c_str(); }
    /// UTF-16 units.
    int size() const { return length; }

private:
    static constexpr int kShortUnits = 128;
    wchar_t shortText[kShortUnits + 1] = {};
    std::wstring longText;
    int length = 0;
};

} // namespace vrn
