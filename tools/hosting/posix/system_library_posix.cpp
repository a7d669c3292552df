// Plug-in libraries on POSIX systems: dlopen, dlsym, dlclose.
#include "tools/hosting/system_library.h"

#include <dlfcn.h>

namespace vrn
{

void* LoadSystemLibrary(const std::string& path, std::string& error)
{
    // A name without a slash would make dlopen search the system library folders instead of the
    // working folder, which is never what a user naming a plug-in file means.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    dlerror();
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        const char* reason = dlerror();
        error = reason != nullptr ? reason : "cannot load " + path;
    }
    return handle;
}

void* FindSystemSymbol(void* library, const char* name) noexcept
{
    return dlsym(library, name);
}

void UnloadSystemLibrary(void* library) noexcept
{
    dlclose(library);
}

} // namespace vrn
