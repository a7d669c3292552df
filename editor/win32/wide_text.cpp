// UTF-8 ⇄ UTF-16 through the system's code-page conversions.
#include "editor/win32/wide_text.h"

#include <windows.h>

#include <climits>

namespace vrn
{

std::wstring Widen(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() > INT_MAX)
        return {};
    const int inputLength = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, nullptr, 0);
    if (length <= 0)
        return {};
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, wide.data(), length);
    return wide;
}

WideText::WideText(std::string_view utf8)
{
    if (utf8.empty() || utf8.size() > INT_MAX)
        return;
    const int inputLength = static_cast<int>(utf8.size());
    const int converted =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), inputLength, shortText, kShortUnits);
    if (converted > 0)
    {
        length = converted;
        return;
    }
    longText = Widen(utf8); // longer than the buffer (or not convertible: empty)
    length = static_cast<int>(longText.size());
}

std::string Narrow(std::wstring_view utf16)
{
    if (utf16.empty() || utf16.size() > INT_MAX)
        return {};
    const int inputLength = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inputLength, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), inputLength, narrow.data(), length, nullptr,
                        nullptr);
    return narrow;
}

} // namespace vrn
