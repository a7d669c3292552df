#pragma once
// The few operating-system services the portable code needs; one implementation per platform.

#include <cstdint>
#include <string>
#include <vector>

namespace vrn::platform
{

/// Remembers the plug-in module's handle (Windows: from DllMain); null is allowed.
void SetModuleHandle(void* module);

/// The plug-in module's handle (Windows: DllMain's, else the module holding this code, such as a
/// test executable); null where the platform has no such handle.
void* ModuleHandle();

/// Full file name of the plug-in library itself (not the host executable); empty when unknown.
std::string LibraryFileName();

/// One entry of a folder listing.
struct DirectoryEntry
{
    std::string name;         ///< file name without the folder
    bool isFolder = false;    ///< true for sub-folders
    bool queryFailed = false; ///< true when the entry's attributes could not be read
};

/// Lists a folder in the order the system returns; false when it cannot be opened.
bool ListFolder(const std::string& folder, std::vector<DirectoryEntry>& entries);

/// Milliseconds of wall-clock time from an arbitrary origin (monotonic, wraps at 2^32).
std::uint32_t MillisecondClock();

/// A short audible signal: frequency in Hz, duration in ms (may do nothing).
void Beep(unsigned frequencyHz, unsigned durationMs);

/// `relativeName` with the platform's folder separators: the effect writes '\' (Windows keeps
/// it, POSIX turns each '\' into '/').
std::string NativePath(const std::string& relativeName);

/// File that LogLine appends to: "\tovl.log.txt" at the root of the current drive (Windows) or
/// "/tmp/tovl.log.txt" (POSIX).
std::string LogFilePath();

} // namespace vrn::platform
