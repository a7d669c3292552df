// Platform services on Windows: module file name, FindFirstFile listing, tick count, beep.
#include "platform/platform.h"

#include <windows.h>

#include <utility>

namespace vrn::platform
{
namespace
{

/// The plug-in DLL's handle as DllMain gave it; null before that and in tests.
HMODULE moduleHandle = nullptr;

/// The module that holds this code: the plug-in DLL, or the test executable it is linked into.
HMODULE ModuleOfThisCode()
{
    HMODULE module = nullptr;
    const DWORD flags =
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT;
    if (!GetModuleHandleExA(flags, reinterpret_cast<LPCSTR>(&moduleHandle), &module))
        return nullptr;
    return module;
}

/// `folder` and `name` with one '\' between them unless the folder already ends in a separator.
std::string JoinFolder(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '\\' || folder.back() == '/')
        return folder + name;
    return folder + '\\' + name;
}

/// An open FindFirstFile search, closed however the listing loop is left.
class FindHandle
{
public:
    explicit FindHandle(HANDLE search) noexcept : handle(search) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            FindClose(handle);
    }

    bool IsOpen() const noexcept { return handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const noexcept { return handle; }

private:
    HANDLE handle;
};

} // namespace

void SetModuleHandle(void* module)
{
    moduleHandle = static_cast<HMODULE>(module);
}

void* ModuleHandle()
{
    // Without DllMain's handle, the module containing this code: a null handle would name the
    // host executable instead.
    return moduleHandle ? moduleHandle : ModuleOfThisCode();
}

std::string LibraryFileName()
{
    const auto module = static_cast<HMODULE>(ModuleHandle());
    if (!module)
        return {};
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    // A name that fills the buffer was cut (and may lack its terminator): it names some other
    // file, so treat it as unknown.
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(buffer, length);
}

bool ListFolder(const std::string& folder, std::vector<DirectoryEntry>& entries)
{
    entries.clear();
    WIN32_FIND_DATAA found{};
    const FindHandle search(FindFirstFileA(JoinFolder(folder, "*").c_str(), &found));
    if (!search.IsOpen())
        return false;
    do
    {
        DirectoryEntry entry;
        entry.name = found.cFileName;
        // Ask for the attributes by the joined name rather than trusting the find data: a name
        // the ANSI code page cannot spell comes back with '?' and fails here, so it is not
        // offered as a file that could never be opened.
        const DWORD attributes = GetFileAttributesA(JoinFolder(folder, entry.name).c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            entry.queryFailed = true;
        else
            entry.isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entries.push_back(std::move(entry));
    } while (FindNextFileA(search.Get(), &found));
    return true;
}

std::uint32_t MillisecondClock()
{
    // Not the tick count: it steps with the system timer, 15.6 ms by default, too coarse to pace
    // 30 frames per second. The performance counter runs at a fixed rate from start-up.
    static const LONGLONG frequency = []
    {
        LARGE_INTEGER f{};
        QueryPerformanceFrequency(&f);
        return f.QuadPart > 0 ? f.QuadPart : 1;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    // Whole seconds and the rest apart, so the product cannot overflow after a long uptime.
    const auto counts = static_cast<unsigned long long>(now.QuadPart);
    const auto perSecond = static_cast<unsigned long long>(frequency);
    const unsigned long long ms =
        counts / perSecond * 1000ULL + counts % perSecond * 1000ULL / perSecond;
    return static_cast<std::uint32_t>(ms); // wraps at 2^32 like the tick count
}

void Beep(unsigned frequencyHz, unsigned durationMs)
{
    ::Beep(static_cast<DWORD>(frequencyHz), static_cast<DWORD>(durationMs));
}

std::string NativePath(const std::string& relativeName)
{
    return relativeName;
}

std::string LogFilePath()
{
    // A leading '\' is the root of the current drive.
    return "\\tovl.log.txt";
}

} // namespace vrn::platform
