#pragma once
// String and file-name slots layer of the effect object.

#include "runtime/description.h"
#include "runtime/string_slots.h"

namespace vrn
{

/// Adds the numbered string slots and the file-name slots (images, data files).
class CXaltoStrings : public CXaltoDescription
{
public:
    StringSlots strings;   ///< texts of the effect code
    StringSlots fileNames; ///< file names by file number
};

} // namespace vrn
