// Drag items from a data object: counting, kinds, and reading one item at a time.
#include "editor/win_drag_container.h"

#include "editor/drag_data.h"
#include "editor/platform.h"

namespace vrn
{

namespace
{
void AppendUtf8(std::string& out, char32_t code)
{
    if (code < 0x80)
    {
        out += static_cast<char>(code);
    }
    else if (code < 0x800)
    {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else if (code < 0x10000)
    {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
    else
    {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char16_t Lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

std::string Utf16ToUtf8(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
        {
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00u));
            ++i;
        }
        else if (unit >= 0xD800 && unit <= 0xDFFF)
        {
            AppendUtf8(out, 0xFFFD);
        }
        else
        {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

WinDragContainer::WinDragContainer(std::unique_ptr<DragDataObject> dataObject)
    : data(std::move(dataObject))
{
    if (!data)
        return;
    if (data->hasText())
        itemCount = 1;
    else if (data->hasFiles())
        itemCount = data->fileCount();
}

WinDragContainer::~WinDragContainer() = default;

const char* WinDragContainer::first(std::int32_t& size, std::int32_t& type)
{
    nextIndex = 0;
    return next(size, type);
}

const char* WinDragContainer::next(std::int32_t& size, std::int32_t& type)
{
    size = 0;
    if (!data)
    {
        type = kDragItemError;
        return nullptr;
    }
    item.clear();
    type = kDragItemUnknown;

    if (data->hasText())
    {
        // The text is one item: only the first call after construction or first() yields it.
        const bool firstCall = nextIndex == 0;
        ++nextIndex;
        std::u16string text;
        if (!firstCall || !data->readText(text))
            return nullptr;
        item = Utf16ToUtf8(text);
        type = kDragItemUnicodeText;
    }
    else if (data->hasFiles())
    {
        std::u16string path;
        if (!data->filePath(nextIndex++, path))
            return nullptr;
        std::u16string target;
        // A shortcut that cannot be resolved stays its own path.
        if (isShortcut(path) && editor_platform::ResolveShortcut(path, target))
            path = target;
        item = Utf16ToUtf8(path);
        type = kDragItemFile;
    }
    else
    {
        return nullptr;
    }
    size = static_cast<std::int32_t>(item.size());
    return item.c_str();
}

std::int32_t WinDragContainer::getType(std::int32_t) const
{
    if (!data)
        return kDragItemError;
    return data->hasText() ? kDragItemText : kDragItemFile;
}

bool WinDragContainer::isShortcut(const std::u16string& path)
{
    const std::size_t nameStart = path.find_last_of(u"\\/");
    const std::size_t dot = path.find_last_of(u'.');
    if (dot == std::u16string::npos || (nameStart != std::u16string::npos && dot < nameStart))
        return false;
    const std::u16string extension = path.substr(dot);
    if (extension.size() != 4)
        return false;
    const char16_t lnk[] = u".lnk";
    for (std::size_t i = 0; i < 4; ++i)
        if (Lower(extension[i]) != lnk[i])
            return false;
    return true;
}

} // namespace vrn
