#pragma once
// Finds a plug-in parameter by index or by name, as the tools' command lines give it.

#include "host/vst2_abi.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace vrn
{

/// Index of the parameter `key` names: a decimal index below `count`, else the first parameter
/// whose name (`nameOf(index)`) is exactly `key`; -1 when none is.
template <class NameOf>
int32 FindParameterIndex(const std::string& key, int32 count, NameOf nameOf)
{
    const bool decimal =
        !key.empty() && key.size() <= 9 &&
        std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (decimal)
    {
        const long index = std::strtol(key.c_str(), nullptr, 10);
        if (index < count)
            return static_cast<int32>(index);
    }
    for (int32 index = 0; index < count; ++index)
        if (nameOf(index) == key)
            return index;
    return -1;
}

} // namespace vrn
