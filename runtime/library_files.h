#pragma once
// Files beside the plug-in library: paths, data-file folders and the log file.

#include <string>
#include <vector>

namespace vrn
{

/// Folder of the plug-in library, up to and including its last '/' or '\'; empty when unknown.
std::string LibraryFolder();

/// Full path of `relativeName` beside the library (one leading '/' or '\' is dropped).
std::string LibraryPath(const std::string& relativeName);

/// LibraryPath with the library's file name given: its folder, then `relativeName` without one
/// leading '/' or '\' and in the platform's separators (platform::NativePath).
std::string JoinLibraryPath(const std::string& libraryFileName, const std::string& relativeName);

/// Names of the data files in `folder`, in listing order: no folders, no names starting with '.'.
std::vector<std::string> ListDataFiles(const std::string& folder);

/// Appends `message` and a newline to the log file, platform::LogFilePath(), and beeps (2000 Hz,
/// 200 ms); silently does nothing when the file cannot be opened.
void LogLine(const std::string& message);

/// LogLine with the log file given.
void AppendLogLine(const std::string& file, const std::string& message);

} // namespace vrn
