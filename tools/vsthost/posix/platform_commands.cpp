// The host tool's platform commands on POSIX systems: none yet (the plug-in has no editor here).
#include "tools/vsthost/command_table.h"

namespace vrn
{

std::vector<CommandRow> PlatformCommandRows()
{
    return {};
}

} // namespace vrn
