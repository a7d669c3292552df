// Plug-in libraries on Windows: LoadLibraryEx, GetProcAddress, FreeLibrary.
#include "tools/plugin_library.h"

#include <windows.h>

#include <cstring>
#include <vector>

namespace vrn
{
namespace
{

std::string LastErrorText(DWORD code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length > 0 && text != nullptr ? std::string(text, length) : "";
    if (text != nullptr)
        LocalFree(text);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.'))
        message.pop_back();
    return message + " (error " + std::to_string(code) + ")";
}

} // namespace

struct PluginLibrary::Impl
{
    HMODULE module = nullptr;
};

PluginLibrary::PluginLibrary() noexcept = default;

PluginLibrary::~PluginLibrary()
{
    Unload();
}

PluginLibrary::PluginLibrary(PluginLibrary&& other) noexcept = default;

PluginLibrary& PluginLibrary::operator=(PluginLibrary&& other) noexcept
{
    if (this != &other)
    {
        Unload();
        impl = std::move(other.impl);
    }
    return *this;
}

bool PluginLibrary::Load(const std::string& path, std::string& error)
{
    Unload();
    if (path.empty())
    {
        error = "empty library path";
        return false;
    }
    // LOAD_WITH_ALTERED_SEARCH_PATH finds the plug-in's own dependencies beside it, but only for
    // an absolute path, so resolve a relative one against the working folder first.
    std::vector<char> full(MAX_PATH);
    DWORD length =
        GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length >= full.size())
    {
        full.resize(length + 1);
        length =
            GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    }
    const std::string file =
        length > 0 && length < full.size() ? std::string(full.data(), length) : path;

    auto loaded = std::make_unique<Impl>();
    // No message box for a missing dependency or a damaged file: the caller reports the error.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    loaded->module = LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD code = GetLastError();
    SetErrorMode(previousMode);
    if (loaded->module == nullptr)
    {
        error = "cannot load " + path + ": " + LastErrorText(code);
        return false;
    }
    impl = std::move(loaded);
    return true;
}

PluginEntryProc PluginLibrary::FindEntry(const char*& name) const noexcept
{
    name = nullptr;
    if (!IsLoaded())
        return nullptr;
    for (const char* candidate : kPluginEntryNames)
    {
        const FARPROC symbol = GetProcAddress(impl->module, candidate);
        if (symbol != nullptr)
        {
            // Copying the bits avoids a cast between unrelated function pointer types.
            PluginEntryProc entry = nullptr;
            static_assert(sizeof entry == sizeof symbol, "function pointers differ in size");
            std::memcpy(&entry, &symbol, sizeof entry);
            name = candidate;
            return entry;
        }
    }
    return nullptr;
}

void PluginLibrary::Unload() noexcept
{
    if (impl && impl->module != nullptr)
        FreeLibrary(impl->module);
    impl.reset();
}

bool PluginLibrary::IsLoaded() const noexcept
{
    return impl && impl->module != nullptr;
}

} // namespace vrn
