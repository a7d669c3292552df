#pragma once
// A VST2 plug-in library loaded by path, with its exported entry point.

#include "host/vst2_abi.h"

#include <string>

namespace vrn
{

/// The exported function that creates a plug-in instance.
using PluginEntryProc = AEffect*(VRN_VST_CALL*)(audioMasterCallback host);

/// The export names tried, in order.
constexpr const char* kPluginEntryNames[] = {"VSTPluginMain", "main", "MAIN"};

/// Owns one loaded library; unloads it on destruction. Move-only.
class PluginLibrary
{
public:
    /// Nothing loaded yet.
    PluginLibrary() noexcept = default;
    /// Unloads the library.
    ~PluginLibrary() { Unload(); }
    /// Takes over the other library; `other` is left empty.
    PluginLibrary(PluginLibrary&& other) noexcept;
    /// Unloads this library, then takes over the other one.
    PluginLibrary& operator=(PluginLibrary&& other) noexcept;
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    /// Loads the library at `path` (a relative path is taken from the working folder);
    /// unloads any previous one first. On failure `error` says why.
    [[nodiscard]] bool Load(const std::string& path, std::string& error);

    /// The entry point: `VSTPluginMain`, else `main`, else `MAIN`; null when none is exported.
    /// `name` receives the export that was found (static text), or null.
    PluginEntryProc FindEntry(const char*& name) const noexcept;

    /// Unloads the library; any pointer into it becomes invalid. Safe to call twice.
    void Unload() noexcept;

    /// True while a library is loaded.
    bool IsLoaded() const noexcept { return handle != nullptr; }

private:
    void* handle = nullptr;
};

} // namespace vrn
