#pragma once
// The dumps of a counted gate_bench run: the name each dump is written under, and reading a
// dump file back into a count.

#include "host/vst2_abi.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace vrn
{

/// What a dump counts: one segment of one plug-in's pass at one block size. Written as the
/// dump's trigger name "gate_bench|PLUGIN|BLOCK|SEGMENT|FRAMES|SEGMENT NAME|LABEL".
struct CountDumpName
{
    std::size_t plugin = 0;   ///< position of the plug-in on the command line
    int32 blockSize = 0;      ///< frames per block of the pass
    std::size_t segment = 0;  ///< segment index within the signal
    std::uint64_t frames = 0; ///< frames the segment's blocks cover, > 0
    std::string segmentName;  ///< as the tables show it
    std::string label;        ///< the plug-in's label, without '|'

    /// The trigger name.
    std::string Text() const;

    /// Reads a trigger name; false for names of other origin.
    [[nodiscard]] bool Parse(const std::string& text);
};

/// One dump file read back: what it counts and its instruction total.
struct CountRecord
{
    CountDumpName name;
    std::uint64_t instructions = 0; ///< callgrind Ir inside the counted process calls
};

/// Reads the callgrind dump at `path`; false for a file that is no gate_bench dump.
[[nodiscard]] bool ReadCountDump(const std::string& path, CountRecord& record);

} // namespace vrn
