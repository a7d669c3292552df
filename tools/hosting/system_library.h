#pragma once
// What each OS provides for plug-in libraries: load, look up a symbol, unload. One implementation
// per OS (posix/, win32/); PluginLibrary builds the rest on these three.

#include <string>

namespace vrn
{

/// Loads the library at `path` (not empty; a relative path is taken from the working folder).
/// Returns its handle, or null with `error` saying why.
void* LoadSystemLibrary(const std::string& path, std::string& error);

/// Address of the export `name` of a loaded library, or null when it has none.
void* FindSystemSymbol(void* library, const char* name) noexcept;

/// Unloads a library LoadSystemLibrary returned; any pointer into it becomes invalid.
void UnloadSystemLibrary(void* library) noexcept;

} // namespace vrn
