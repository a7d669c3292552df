// Platform services on Linux and other POSIX systems: dladdr, opendir/stat, a monotonic clock.
#include "platform/platform.h"

#include <dirent.h>
#include <dlfcn.h>
#include <sys/stat.h>
#include <time.h>

#include <cstdlib>
#include <memory>
#include <utility>

namespace vrn::platform
{
namespace
{

struct DirectoryCloser
{
    void operator()(DIR* directory) const noexcept { closedir(directory); }
};

/// An open folder listing, closed however the listing loop is left.
using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

struct MallocFree
{
    void operator()(char* text) const noexcept { std::free(text); }
};

} // namespace

void SetModuleHandle(void*)
{
    // dladdr finds the library from an address inside it; no handle is needed.
}

void* ModuleHandle()
{
    return nullptr;
}

std::string LibraryFileName()
{
    // The address of a function of this library names the object it was loaded from: the
    // plug-in's .so when a host loaded it, the executable when linked statically into a test.
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&LibraryFileName), &info) == 0 || !info.dli_fname ||
        !*info.dli_fname)
        return {};
    // The loader keeps the name as it was given (a host may dlopen a relative path, and the
    // executable is named by argv[0]); resolve it so a later chdir of the host cannot move it.
    const std::unique_ptr<char, MallocFree> resolved(realpath(info.dli_fname, nullptr));
    return resolved ? std::string(resolved.get()) : std::string(info.dli_fname);
}

bool ListFolder(const std::string& folder, std::vector<DirectoryEntry>& entries)
{
    entries.clear();
    const DirectoryHandle directory(opendir(folder.c_str()));
    if (!directory)
        return false;
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    while (const dirent* found = readdir(directory.get()))
    {
        DirectoryEntry entry;
        entry.name = found->d_name;
        // stat follows symbolic links: a link to a file lists as a file, a dangling one fails.
        struct stat status = {};
        if (stat((prefix + entry.name).c_str(), &status) != 0)
            entry.queryFailed = true;
        else
            entry.isFolder = S_ISDIR(status.st_mode);
        entries.push_back(std::move(entry));
    }
    return true;
}

std::uint32_t MillisecondClock()
{
    // C clock() is processor time on POSIX; the effect wants elapsed wall-clock milliseconds.
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(now.tv_nsec / 1000000));
}

void Beep(unsigned, unsigned)
{
    // No sound device is assumed on POSIX hosts; the log line alone has to do.
}

std::string NativePath(const std::string& relativeName)
{
    // The effect names its files Windows-style ("vrn_gfx\\knob_sm.png"); '\' is an ordinary
    // file name character on POSIX, so it has to become '/' for the files to be found.
    std::string path = relativeName;
    for (char& c : path)
    {
        if (c == '\\')
            c = '/';
    }
    return path;
}

std::string LogFilePath()
{
    return "/tmp/tovl.log.txt";
}

} // namespace vrn::platform
