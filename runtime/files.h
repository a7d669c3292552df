#pragma once
// File records layer of the effect object.

#include "runtime/file_record.h"
#include "runtime/strings.h"

#include <vector>

namespace vrn
{

/// Adds the file records; record 0 is the state stream.
class CXaltoFiles : public CXaltoStrings
{
public:
    CXaltoFiles() : files(1) {}
    ~CXaltoFiles() override;

    FileRecord& StateStream() { return files[0]; }

    std::vector<FileRecord> files;
};

} // namespace vrn
