#pragma once
// The dragged data as the drag container reads it: the seam over the system's data object.

#include <string>

namespace vrn
{

/// One drag's data object (win32: an OLE data object, asked for Unicode text and for a file
/// drop list, both as global memory). Lives from drag enter to drag leave or drop.
class DragDataObject
{
public:
    virtual ~DragDataObject() = default;

    /// True when the data object delivers Unicode text.
    virtual bool hasText() = 0;
    /// The delivered Unicode text (UTF-16, without terminator); false when it is not delivered
    /// or its memory cannot be read.
    virtual bool readText(std::u16string& text) = 0;
    /// True when the data object delivers a file drop list.
    virtual bool hasFiles() = 0;
    /// Number of files in the drop list; 0 without one.
    virtual int fileCount() = 0;
    /// Full path of file `index` (UTF-16, at most 2047 units); false beyond the list.
    virtual bool filePath(int index, std::u16string& path) = 0;
};

} // namespace vrn
