// File records layer: records still open for writing are written out at destruction.
#include "runtime/files.h"

namespace vrn
{

CXaltoFiles::~CXaltoFiles()
{
    for (const FileRecord& record : files)
        record.Flush();
}

} // namespace vrn
