// Files beside the library: paths, data-file listing and the one-line log.
#include "runtime/library_files.h"

#include "platform/platform.h"

#include <cstdio>

namespace vrn
{
namespace
{

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

/// `fileName` up to and including its last separator; empty when it has none.
std::string FolderOf(const std::string& fileName)
{
    const std::size_t last = fileName.find_last_of("/\\");
    if (last == std::string::npos)
        return {};
    return fileName.substr(0, last + 1);
}

} // namespace

std::string LibraryFolder()
{
    return FolderOf(platform::LibraryFileName());
}

std::string JoinLibraryPath(const std::string& libraryFileName, const std::string& relativeName)
{
    // The effect writes names both as "\\folder\\file" and "folder\\file"; both mean the same
    // place beside the library. Only one separator is dropped.
    std::size_t skipped = 0;
    if (!relativeName.empty() && IsSeparator(relativeName.front()))
        skipped = 1;
    return FolderOf(libraryFileName) + platform::NativePath(relativeName.substr(skipped));
}

std::string LibraryPath(const std::string& relativeName)
{
    return JoinLibraryPath(platform::LibraryFileName(), relativeName);
}

std::vector<std::string> ListDataFiles(const std::string& folder)
{
    std::vector<std::string> names;
    std::vector<platform::DirectoryEntry> entries;
    if (!platform::ListFolder(folder, entries))
        return names;
    for (const platform::DirectoryEntry& entry : entries)
    {
        // '.' names are "." and "..", and hidden files on POSIX: never data files.
        if (entry.name.empty() || entry.name.front() == '.')
            continue;
        if (entry.queryFailed || entry.isFolder)
            continue;
        names.push_back(entry.name);
    }
    return names;
}

void LogLine(const std::string& message)
{
    AppendLogLine(platform::LogFilePath(), message);
}

void AppendLogLine(const std::string& path, const std::string& message)
{
    std::FILE* file = std::fopen(path.c_str(), "a");
    if (!file)
        return;
    std::fprintf(file, "%s\n", message.c_str());
    std::fclose(file);
    // The beep tells whoever is at the host that a line was written.
    platform::Beep(2000, 200);
}

} // namespace vrn
