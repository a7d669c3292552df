// A VST2 plug-in library loaded by path, with its exported entry point.
#include "tools/hosting/plugin_library.h"

#include "tools/hosting/system_library.h"

#include <cstring>
#include <utility>

namespace vrn
{

PluginLibrary::PluginLibrary(PluginLibrary&& other) noexcept
    : handle(std::exchange(other.handle, nullptr))
{
}

PluginLibrary& PluginLibrary::operator=(PluginLibrary&& other) noexcept
{
    if (this != &other)
    {
        Unload();
        handle = std::exchange(other.handle, nullptr);
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
    handle = LoadSystemLibrary(path, error);
    return handle != nullptr;
}

PluginEntryProc PluginLibrary::FindEntry(const char*& name) const noexcept
{
    name = nullptr;
    if (!IsLoaded())
        return nullptr;
    for (const char* candidate : kPluginEntryNames)
    {
        void* symbol = FindSystemSymbol(handle, candidate);
        if (symbol != nullptr)
        {
            // The OS hands out an object pointer; copying the bits is the portable way to turn
            // it into a function pointer of the same size.
            PluginEntryProc entry = nullptr;
            static_assert(sizeof entry == sizeof symbol, "function and object pointers differ");
            std::memcpy(&entry, &symbol, sizeof entry);
            name = candidate;
            return entry;
        }
    }
    return nullptr;
}

void PluginLibrary::Unload() noexcept
{
    if (handle != nullptr)
        UnloadSystemLibrary(std::exchange(handle, nullptr));
}

} // namespace vrn
