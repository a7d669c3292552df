// Plug-in libraries on POSIX systems: dlopen, dlsym, dlclose.
#include "tools/plugin_library.h"

#include <dlfcn.h>

#include <cstring>

namespace vrn
{

struct PluginLibrary::Impl
{
    void* handle = nullptr;
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
    // A name without a slash would make dlopen search the system library folders instead of the
    // working folder, which is never what a user naming a plug-in file means.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    auto loaded = std::make_unique<Impl>();
    dlerror();
    loaded->handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (loaded->handle == nullptr)
    {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "cannot load " + path;
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
        void* symbol = dlsym(impl->handle, candidate);
        if (symbol != nullptr)
        {
            // dlsym hands out an object pointer; copying the bits is the portable way to turn
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
    if (impl && impl->handle != nullptr)
        dlclose(impl->handle);
    impl.reset();
}

bool PluginLibrary::IsLoaded() const noexcept
{
    return impl && impl->handle != nullptr;
}

} // namespace vrn
