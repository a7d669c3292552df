#pragma once
// The dragged data of an OLE data object: Unicode text and file drop lists from global memory.

#include "editor/drag_data.h"

#include <windows.h>

#include <ole2.h>

namespace vrn
{

/// Reads an IDataObject (retained while this exists). Every query fetches the medium again
/// and releases it before answering.
class OleDragData final : public DragDataObject
{
public:
    explicit OleDragData(IDataObject* data);
    ~OleDragData() override;
    OleDragData(const OleDragData&) = delete;
    OleDragData& operator=(const OleDragData&) = delete;

    bool hasText() override;
    bool readText(std::u16string& text) override;
    bool hasFiles() override;
    int fileCount() override;
    bool filePath(int index, std::u16string& path) override;

private:
    IDataObject* data;
};

} // namespace vrn
