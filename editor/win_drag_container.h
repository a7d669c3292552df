#pragma once
// The drag items of a system data object: one Unicode text, or a list of files.

#include "editor/drag_container.h"

#include <memory>
#include <string>

namespace vrn
{

class DragDataObject;

/// Reads the items from the drag's data object: text first (one item), else the dropped files
/// in order, shortcut files resolved to their targets. Items are UTF-8.
class WinDragContainer : public CDragContainer
{
public:
    /// Owns `data` for the drag (null: every query answers an error).
    explicit WinDragContainer(std::unique_ptr<DragDataObject> data);
    ~WinDragContainer() override;

    const char* first(std::int32_t& size, std::int32_t& type) override;
    const char* next(std::int32_t& size, std::int32_t& type) override;
    /// Error without data, text when text is delivered, else file.
    std::int32_t getType(std::int32_t index) const override;
    /// 1 for text, else the number of files; fixed at construction.
    std::int32_t getCount() const override { return itemCount; }

    /// True when `path` (UTF-16) names a shortcut file: its file name's last extension is
    /// ".lnk" in any case. Dots in folder names or earlier in the name do not count.
    static bool isShortcut(const std::u16string& path);

private:
    std::unique_ptr<DragDataObject> data;
    std::int32_t itemCount = 0;
    std::int32_t nextIndex = 0;
    std::string item;
};

/// `text` (UTF-16, unpaired surrogates become U+FFFD) as UTF-8.
std::string Utf16ToUtf8(const std::u16string& text);

} // namespace vrn
