// Plug-in libraries on Windows: LoadLibraryEx, GetProcAddress, FreeLibrary.
#include "tools/hosting/system_library.h"

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

void* LoadSystemLibrary(const std::string& path, std::string& error)
{
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

    // No message box for a missing dependency or a damaged file: the caller reports the error.
    const UINT previousMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    const HMODULE module = LoadLibraryExA(file.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const DWORD code = GetLastError();
    SetErrorMode(previousMode);
    if (module == nullptr)
        error = "cannot load " + path + ": " + LastErrorText(code);
    return module;
}

void* FindSystemSymbol(void* library, const char* name) noexcept
{
    const FARPROC symbol = GetProcAddress(static_cast<HMODULE>(library), name);
    // Copying the bits avoids a cast from a function pointer to an object pointer.
    void* address = nullptr;
    static_assert(sizeof address == sizeof symbol, "function and object pointers differ");
    std::memcpy(&address, &symbol, sizeof address);
    return address;
}

void UnloadSystemLibrary(void* library) noexcept
{
    FreeLibrary(static_cast<HMODULE>(library));
}

} // namespace vrn
