#pragma once
// The items of a drag in progress, as views see them in their drag and drop operations.

#include "editor/base_object.h"

#include <cstdint>

namespace vrn
{

/// Kind of a dragged item.
enum CDragItemType : std::int32_t
{
    kDragItemFile = 0,        ///< a file path, UTF-8
    kDragItemText = 1,        ///< text
    kDragItemUnicodeText = 2, ///< text delivered as Unicode, UTF-8
    kDragItemUnknown = -1,    ///< no item
    kDragItemError = -2,      ///< no data to read
};

/// Gives access to the dragged items one after the other. Lives for one drag.
class CDragContainer : public CBaseObject
{
public:
    /// Starts again at the first item; see next.
    virtual const char* first(std::int32_t& size, std::int32_t& type) = 0;
    /// The next item's bytes (zero-terminated, valid until the next call) with their count
    /// (without the terminator) and kind; null when there is none.
    virtual const char* next(std::int32_t& size, std::int32_t& type) = 0;
    /// The kind of the items.
    virtual std::int32_t getType(std::int32_t index) const = 0;
    /// How many items the drag holds.
    virtual std::int32_t getCount() const = 0;
};

} // namespace vrn
